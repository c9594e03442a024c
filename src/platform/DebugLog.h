#pragma once

#include <functional>
#include <string>
#include <string_view>

// The system's debug output. Silent unless GAMING_DEVICE_DEBUG is set in the
// environment or a sink is installed; the texts are passed on unchanged.
using DebugSink = std::function<void(std::string_view)>;

// Installs the sink every debug text goes to (an empty function silences them).
void SetDebugSink(DebugSink sink);

// Sends stderr every debug text, one per line.
void EnableDebugToStderr();

bool DebugOutputEnabled();

void DebugOutput(std::string_view text);
