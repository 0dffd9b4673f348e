// One way to read and write any system variable: the drawing's come from its database (where a
// change is undoable), the application's from the profile.
#pragma once

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdResBuf.h>
#include <vantrel/db/OdString.h>
#include <vantrel/host/AppSysVarStore.h>
#include <vantrel/host/IProfile.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT SysVarService {
public:
    explicit SysVarService(IProfile& profile) : m_app(profile) {}

    // The value. Raises OdError(eUnknownSysVar) for an unknown name, OdError(eNullObjectPointer)
    // for a drawing variable when db is null, and passes on the errors of the store that answers.
    OdResBufPtr getSysVar(const OdString& name, OdDbDatabase* db) const;
    // Checks and stores the value; errors as getSysVar, plus OdError(eInvalidSysVarValue) naming
    // the variable and its legal values.
    void setSysVar(const OdString& name, const OdResBuf* value, OdDbDatabase* db);
    // "NAME=VALUE" as given on the command line: the value is read by the variable's kind (a
    // whole number, a real, text, or a point "X,Y[,Z]") and set. Raises OdError(eInvalidInput)
    // for text that is not an assignment, and the errors of setSysVar; every message names the
    // variable and, for a bad value, its legal values.
    void applyAssignment(const OdString& assignment, OdDbDatabase* db);

    // The profile's illegal values of application variables, one line each (their defaults hold).
    std::vector<std::string> profileProblems() const { return m_app.profileProblems(); }

private:
    AppSysVarStore m_app;
};

} // namespace vantrel
