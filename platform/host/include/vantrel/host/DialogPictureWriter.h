// Writes a picture of every state a dialog is shown in into one folder, as
// FOLDER/<caption>-<n>.svg (n counting from 1 per caption), for a person to look at what a
// scripted dialog went through. Installed as the dialogs' state observer.
#pragma once

#include <map>
#include <string>

#include <vantrel/host/HostExport.h>

class hostUiDialog;

namespace vantrel {

class VANTREL_HOST_EXPORT DialogPictureWriter {
public:
    explicit DialogPictureWriter(std::string folder) : m_folder(std::move(folder)) {}

    void write(const hostUiDialog& dialog);
    // The first write that failed (one line), or empty.
    const std::string& firstError() const { return m_firstError; }
    int written() const { return m_written; }

    // The file name stem of a dialog: its caption with everything but letters, digits, '-' and
    // '_' turned into '_', or "dialog<ID>" without a caption.
    static std::string stemOf(const hostUiDialog& dialog);

private:
    std::string m_folder;
    std::map<std::string, int> m_counts;
    std::string m_firstError;
    int m_written = 0;
};

} // namespace vantrel
