// One event that a front end hands to the input engine: a typed or scripted line, a cancel, a
// cursor move or click with its point, a change of the visible area, a dialog event, a posted
// character, a script error, or the end of input.
#pragma once

#include <cstdint>
#include <string>

#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

struct VANTREL_HOST_EXPORT InputEvent {
    enum class Kind {
        Text,       // text: the line as typed (an empty or blank line is Enter)
        Cancel,     // Esc, `!cancel`
        Move,       // point: the cursor in world coordinates
        Click,      // point: left button down at the cursor
        View,       // point and corner: two opposite corners of the visible area
        Dialog,     // text: the words after `!dlg`
        PostedChar, // character, posted by a tracker through hostPostChar
        Error,      // text: why a script line was refused (shown as a message)
        End,        // no more input
    };

    Kind kind = Kind::End;
    std::wstring text;
    OdGePoint3d point;
    OdGePoint3d corner;
    std::uint32_t character = 0;
    // How a transcript shows the event when it answers a prompt (the script line as written).
    std::wstring echo;

    static InputEvent textLine(std::wstring line)
    {
        InputEvent e = of(Kind::Text);
        e.echo = line;
        e.text = std::move(line);
        return e;
    }
    static InputEvent of(Kind kind)
    {
        InputEvent e;
        e.kind = kind;
        return e;
    }
};

} // namespace vantrel
