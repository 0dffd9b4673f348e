// The module's command table and its attach routine. The registrars run in the order they are
// defined here, and the attach routine after them, because C++ initialises the static objects of
// one translation unit in order of definition.
//
// The full table, in order: 1-7 the light commands (object commands of LightCmd, modes 100, 101,
// 102, 2, 3, 10, 1: "targetpoint", "freespot", "freeweb", "pointlight", "spotlight",
// "weblight", "distantlight"), 8 "Solid", 9 "RevCloud", 10 "PEdit" (function commands of group
// "HOST", flags 0, 0 and 2), 11 "AD" (object command of CMathTestCmd). A command family that is
// added puts its registrar at its place in this order, before the attach routine, e.g.
//     const CommandRegistrar spotlight("spotlight", createCommand<LightCmd, 3>);
//     const CommandRegistrar revCloud(L"HOST", L"RevCloud", 0, runFunctionCommand<CRevCloudCmd>);
#include "frame/CommandRegistrar.h"
#include "frame/command_creators.h"
#include "frame/module_instance.h"
#include "light/LightCmd.h"
#include "mathtest/CMathTestCmd.h"
#include "pedit/CPeditCmd.h"
#include "revcloud/CRevCloudCmd.h"
#include "solid/CSolidCmd.h"

namespace {

using vantrel::CommandRegistrar;
using vantrel::createCommand;
using vantrel::runFunctionCommand;

const CommandRegistrar targetPoint("targetpoint", createCommand<LightCmd, kTargetPointMode>);
const CommandRegistrar freeSpot("freespot", createCommand<LightCmd, kFreeSpotMode>);
const CommandRegistrar freeWeb("freeweb", createCommand<LightCmd, kFreeWebMode>);
const CommandRegistrar pointLight("pointlight", createCommand<LightCmd, kPointLightMode>);
const CommandRegistrar spotLight("spotlight", createCommand<LightCmd, kSpotLightMode>);
const CommandRegistrar webLight("weblight", createCommand<LightCmd, kWebLightMode>);
const CommandRegistrar distantLight("distantlight", createCommand<LightCmd, kDistantLightMode>);
const CommandRegistrar solid(L"HOST", L"Solid", 0, runFunctionCommand<CSolidCmd>);
const CommandRegistrar revCloud(L"HOST", L"RevCloud", 0, runFunctionCommand<CRevCloudCmd>);
const CommandRegistrar pedit(L"HOST", L"PEdit", 2, runFunctionCommand<CPeditCmd>);
const CommandRegistrar ad("AD", createCommand<CMathTestCmd>);

// Last: runs once every registrar has.
const struct ModuleAttach {
    ModuleAttach() { vantrel::attachModule(); }
} attach;

} // namespace
