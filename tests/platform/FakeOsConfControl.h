#pragma once

#include "FakeOsConfLib.h"

#include <dlfcn.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

// The test's own handle on a fake audio library: the same loaded copy the
// loader under test gets, so its set-up and its call record are shared.
class FakeOsConfControl {
public:
    explicit FakeOsConfControl(const std::filesystem::path& folder)
        : m_handle(::dlopen((folder / "libosConfLib.so").c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        if (!m_handle)
            throw std::runtime_error("fake audio library missing in " + folder.string());
        Reset = Lookup<decltype(&FakeOsConf_Reset)>("FakeOsConf_Reset");
        SetInitResult = Lookup<decltype(&FakeOsConf_SetInitResult)>("FakeOsConf_SetInitResult");
        AddEndpoint = Lookup<decltype(&FakeOsConf_AddEndpoint)>("FakeOsConf_AddEndpoint");
        SetReportedCount = Lookup<decltype(&FakeOsConf_SetReportedCount)>("FakeOsConf_SetReportedCount");
        SetAnswer = Lookup<decltype(&FakeOsConf_SetAnswer)>("FakeOsConf_SetAnswer");
        PropertyCallCount = Lookup<decltype(&FakeOsConf_PropertyCallCount)>("FakeOsConf_PropertyCallCount");
        GetPropertyCall = Lookup<decltype(&FakeOsConf_GetPropertyCall)>("FakeOsConf_GetPropertyCall");
        ExportCallCount = Lookup<decltype(&FakeOsConf_ExportCallCount)>("FakeOsConf_ExportCallCount");
        InitCount = Lookup<decltype(&FakeOsConf_InitCount)>("FakeOsConf_InitCount");
        UnInitCount = Lookup<decltype(&FakeOsConf_UnInitCount)>("FakeOsConf_UnInitCount");
        Reset();
    }

    FakeOsConfCall LastCall() const
    {
        FakeOsConfCall call{};
        if (GetPropertyCall(PropertyCallCount() - 1, &call) != 0)
            throw std::runtime_error("no property call recorded");
        return call;
    }

    decltype(&FakeOsConf_Reset) Reset = nullptr;
    decltype(&FakeOsConf_SetInitResult) SetInitResult = nullptr;
    decltype(&FakeOsConf_AddEndpoint) AddEndpoint = nullptr;
    decltype(&FakeOsConf_SetReportedCount) SetReportedCount = nullptr;
    decltype(&FakeOsConf_SetAnswer) SetAnswer = nullptr;
    decltype(&FakeOsConf_PropertyCallCount) PropertyCallCount = nullptr;
    decltype(&FakeOsConf_GetPropertyCall) GetPropertyCall = nullptr;
    decltype(&FakeOsConf_ExportCallCount) ExportCallCount = nullptr;
    decltype(&FakeOsConf_InitCount) InitCount = nullptr;
    decltype(&FakeOsConf_UnInitCount) UnInitCount = nullptr;

private:
    template <typename Fn>
    Fn Lookup(const char* name)
    {
        void* symbol = ::dlsym(m_handle.get(), name);
        if (!symbol)
            throw std::runtime_error(std::string("fake audio library lacks ") + name);
        return reinterpret_cast<Fn>(symbol);
    }

    struct Close {
        void operator()(void* handle) const { ::dlclose(handle); }
    };
    std::unique_ptr<void, Close> m_handle;
};
