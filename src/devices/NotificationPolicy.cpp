#include "devices/NotificationPolicy.h"

NotificationPolicy NotificationPolicy::ForLink(DeviceKind link)
{
    NotificationPolicy policy;
    switch (link) {
    case DeviceKind::Mouse:
        policy.onReactiveCode = Action::Reactive;
        break;
    case DeviceKind::MousePad:
        policy.refreshMs = 500;
        policy.refreshOnB = false;
        policy.onReactiveCode = Action::Ignore;
        policy.codesAbove = false;
        policy.exitLine = "MS设备同步线程设定退出";
        break;
    default:
        break;  // mouse receiver and both keyboard links
    }
    return policy;
}

NotificationPolicy::Action NotificationPolicy::ActionFor(uint16_t code) const
{
    if (code == kRefreshCode)
        return Action::Refresh;
    if (code == kRefreshCodeB)
        return refreshOnB ? Action::Refresh : Action::Ignore;
    if (code == kReactiveCode)
        return onReactiveCode;
    if (code > kReactiveCode)
        return codesAbove ? Action::DeviceCode : Action::Ignore;
    return Action::Ignore;
}
