// hostMessageBox: through the running application's front end, or standard error without one.
#include <vantrel/host/host_message_box.h>

#include <iostream>

#include <vantrel/db/OdString.h>
#include <vantrel/host/HostApplication.h>

int hostMessageBox(const wchar_t* text)
{
    OdString shown(text ? text : L"");
    if (HostApplication* app = HostApplication::current())
        return app->messageBox(shown);
    std::cerr << "[message box] " << shown.toUtf8() << '\n';
    return kMessageBoxOk;
}
