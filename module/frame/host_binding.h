// How the module finds the host: the host main module, the command factory, and the services
// by index. Nothing is cached: every call repeats the whole lookup, so the module follows the
// host whatever it loads or unloads between commands.
#pragma once

#include <vantrel/host/CmdProtocol.h>
#include <vantrel/host/host_exports.h>
#include <vantrel/hxicore/ModuleHandle.h>

class HostApplication;
class HostDocument;
class HostEditor;
class OdDbDatabase;

// The module that hands out the host services: what the executable's GetMainDllInstance
// answers, else the loaded "deziro.dll", else what the loaded "HxAcApp.dll"'s
// GetMainDllInstanceEx answers; null when none of them gives a module.
vantrel::ModuleHandle findHostMainModule();

// Calls new_ICmdFactory(&factory) of the module that hands out command factories: the loaded
// module the executable's GetMainDllNameW names, else the loaded "deziro", else the module
// "HxAcApp.dll"'s GetMainDllInstanceEx answers. True when that module has the export (whatever
// it stored); false, with factory untouched, when not.
bool acquireCommandFactory(ICmdFactory*& factory);

namespace vantrel {

// get_host_funcptr(index) of the host main module; null when there is no host module, no such
// export, or no service of that index.
HostFuncPtr hostService(HostServiceIndex index);

// Service 2 called: the running application, or null.
HostApplication* hostApplication();
// The application's active document, or null when there is no application or no document.
HostDocument* activeDocument();
// Where messages go: the active document's command line, or the application's when no
// document is open; null without an application.
HostEditor* messageEditor();
// The active document for a command that is starting; when there is none, says so (on the
// application's command line, or in a message box without an application) and answers null.
HostDocument* commandDocument();

} // namespace vantrel
