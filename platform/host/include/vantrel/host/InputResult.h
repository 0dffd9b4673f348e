// The answer of every HostEditor request and the flags a command passes with it. Both are plain
// 32-bit integers because commands compute keyword results (k + 1) and combine flag values.
#pragma once

#include <cstdint>

using InputResult = std::int32_t;
using InputFlags = std::uint32_t;

// A point or number was given and stored through the request's out argument.
inline constexpr InputResult kInputValue = -1;
// The user cancelled (Esc, `!cancel`, or the input ended).
inline constexpr InputResult kInputCancel = -2;
// Free text, only from getKeyword with kAcceptText and an out string.
inline constexpr InputResult kInputText = 0;
// An empty answer (Enter, or a tracker posting character 13).
inline constexpr InputResult kInputEmpty = 1;
// The first keyword of a list; keyword k (counting from 1) answers k + 1.
inline constexpr InputResult kInputFirstKeyword = 2;

// Free text is handed over exactly as typed, blanks at either end included.
inline constexpr InputFlags kTextAsTyped = 1;
// getKeyword answers text that matches no keyword with kInputText.
inline constexpr InputFlags kAcceptText = 2;
// The command takes Enter as an answer (default or end of a list). Enter answers kInputEmpty in
// every request, so this host needs the bit for nothing else.
inline constexpr InputFlags kAcceptEmpty = 4;
// With a base point: a rubber line from the base point follows the cursor.
inline constexpr InputFlags kRubberBand = 8;
