// File queries with wide paths.
#include <vantrel/hxicore/Fio.h>

#include <sys/stat.h>

#include <vantrel/db/OdString.h>

bool Fio_IsFileExist(const wchar_t* path)
{
    if (!path || !*path)
        return false;
    struct stat info {};
    return ::stat(OdString(path).toUtf8().c_str(), &info) == 0 && S_ISREG(info.st_mode);
}
