// An up-down control: a range, a position and a buddy control (usually the edit field beside
// it). The user's steps arrive as up-down delta events.
#pragma once

#include <vantrel/host/UiControl.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT UiUpDown : public UiControl {
public:
    using UiControl::UiControl;

    void SetRange(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    // Kept within the range; answers the position before. With the set-buddy-int style the
    // buddy shows the new position.
    int SetPos(int pos);
    int GetPos() const { return state().pos; }
    // Answers the previous buddy's id (kNoControlId for none).
    int SetBuddy(const UiControl& buddy);
    int GetBuddy() const { return state().buddy; }

protected:
    bool servesKind(DialogControlKind kind) const override { return kind == DialogControlKind::UpDown; }
};

} // namespace vantrel
