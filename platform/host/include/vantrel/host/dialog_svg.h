// Pictures of dialogs: the frame, caption and every visible control at its place, with texts,
// checks, current combo items and what owner-drawn controls drew, as SVG.
#pragma once

#include <string>

#include <vantrel/host/HostExport.h>

class hostUiDialog;

namespace vantrel {

VANTREL_HOST_EXPORT std::string dialogSvg(const hostUiDialog& dialog);
// Written atomically; answers an empty string on success, else one line naming the file and
// the reason.
VANTREL_HOST_EXPORT std::string writeDialogSvg(const hostUiDialog& dialog, const std::string& path);

} // namespace vantrel
