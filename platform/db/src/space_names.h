// The names of the blocks that hold model space and the current sheet (a sheet is made current by
// taking the paper space name; the other sheets' blocks are *Paper_Space0, *Paper_Space1, ...).
#pragma once

namespace vantrel {

inline constexpr const wchar_t* kModelSpaceBlock = L"*Model_Space";
inline constexpr const wchar_t* kPaperSpaceBlock = L"*Paper_Space";

} // namespace vantrel
