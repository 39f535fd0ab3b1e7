#pragma once

#include "appkit/FilePanels.h"

#include <vector>

// Stands in for the file panels where no one can choose: save panels answer `savePath` and open
// panels `openPaths` at once (empty for cancel); the options and windows asked for are recorded.
class RecordingFilePanels : public FilePanels {
public:
    void beginSavePanel(
        QWidget* window, const SavePanelOptions& options, SaveCompletion done) override;
    void beginOpenPanel(
        QWidget* window, const OpenPanelOptions& options, OpenCompletion done) override;

    QString savePath;
    QStringList openPaths;
    std::vector<SavePanelOptions> savePanels;
    std::vector<OpenPanelOptions> openPanels;
    std::vector<QWidget*> windows;
};
