// Message boxes of the host: modal, with an OK button. The front end decides how one is shown
// (the shell prints it); without an application it goes to standard error.
#pragma once

#include <vantrel/host/HostExport.h>

inline constexpr int kMessageBoxOk = 1;

// Shows the text and answers the button that closed the box (kMessageBoxOk).
VANTREL_HOST_EXPORT int hostMessageBox(const wchar_t* text);
