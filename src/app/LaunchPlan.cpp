// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LaunchPlan.h"

#include "firmware/Launcher.h"
#include "keys/LaunchLookup.h"

namespace q905 {

LaunchPlan planLaunch(const KeyAssignmentTable& table, std::uint8_t keyCode) {
    const auto action = findLaunchAction(table, keyCode);
    if (!action)
        return {};
    const LaunchTarget target = splitLaunchPath(action->path);
    if (target.file.empty() || action->path.front() != '/')
        return {};
    LaunchPlan plan;
    plan.kind = action->group == FunctionGroup::Startup ? LaunchPlan::Kind::StartProgram
                                                        : LaunchPlan::Kind::OpenWithDefault;
    plan.target = action->path;
    plan.workingFolder = target.workingFolder;
    return plan;
}

LaunchOutcome runLaunchPlan(const LaunchPlan& plan, Launcher& launcher) {
    switch (plan.kind) {
    case LaunchPlan::Kind::StartProgram:
        return launcher.openDetached(plan.target, plan.workingFolder);
    case LaunchPlan::Kind::OpenWithDefault:
        return launcher.openPath(plan.target);
    case LaunchPlan::Kind::Nothing:
        break;
    }
    return LaunchOutcome::NothingToDo;
}

} // namespace q905
