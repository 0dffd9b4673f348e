// The message box of a command that ended by an exception.
#include "frame/command_exception.h"

#include <vantrel/host/host_message_box.h>
#include <vantrel/hxicore/CXStringW.h>

void showCommandException(const wchar_t* methodName)
{
    CXStringW text(L"Exception ");
    text += methodName;
    hostMessageBox(text);
}
