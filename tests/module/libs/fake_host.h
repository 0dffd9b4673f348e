// What the stand-in host modules of the module tests record, read by the tests through the
// export fakeHostState of libdeziro.so.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <vantrel/host/CmdProtocol.h>

struct FakeRegistration {
    std::string name;   // object commands
    std::wstring group; // function commands
    std::wstring wideName;
    std::uint32_t flags = 0;
    CommandCreator creator = nullptr;
    CommandEntry entry = nullptr;
};

struct FakeHostState {
    std::vector<FakeRegistration> registrations;
    int factoriesMade = 0;
    int factoriesLive = 0;
    int procedure3Calls = 0;
};

using FakeHostStateExport = FakeHostState* (*)();
using SetMainModuleExport = void (*)(void*);
