// One picture file per shown dialog state, numbered per dialog caption.
#include <vantrel/host/DialogPictureWriter.h>

#include <filesystem>

#include <vantrel/db/OdString.h>
#include <vantrel/host/dialog_svg.h>
#include <vantrel/host/hostUiDialog.h>

namespace vantrel {

std::string DialogPictureWriter::stemOf(const hostUiDialog& dialog)
{
    const DialogTemplate& tmpl = dialog.dialogTemplate();
    if (tmpl.caption.empty())
        return "dialog" + std::to_string(tmpl.id);
    std::string stem;
    for (char c : OdString(tmpl.caption).toUtf8()) {
        const bool kept
            = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        stem += kept ? c : '_';
    }
    return stem;
}

void DialogPictureWriter::write(const hostUiDialog& dialog)
{
    const std::string stem = stemOf(dialog);
    const int n = ++m_counts[stem];
    const std::string path = (std::filesystem::path(m_folder) / (stem + "-" + std::to_string(n) + ".svg")).string();
    std::string error = writeDialogSvg(dialog, path);
    if (!error.empty()) {
        if (m_firstError.empty())
            m_firstError = std::move(error);
        return;
    }
    ++m_written;
}

} // namespace vantrel
