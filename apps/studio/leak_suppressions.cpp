// Built into sanitizer builds only: Qt, fontconfig, D-Bus and the X libraries keep allocations
// for the life of the process (caches, connections, registered types) that the leak checker
// would report at every exit. Our own code stays checked.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt6Core.so\n"
           "leak:libQt6Gui.so\n"
           "leak:libQt6DBus.so\n"
           "leak:libQt6XcbQpa.so\n"
           "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n"
           "leak:libxcb\n"
           "leak:libX11\n";
}
