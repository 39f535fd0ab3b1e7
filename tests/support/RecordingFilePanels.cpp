#include "RecordingFilePanels.h"

void RecordingFilePanels::beginSavePanel(
    QWidget* window, const SavePanelOptions& options, SaveCompletion done)
{
    savePanels.push_back(options);
    windows.push_back(window);
    done(savePath);
}

void RecordingFilePanels::beginOpenPanel(
    QWidget* window, const OpenPanelOptions& options, OpenCompletion done)
{
    openPanels.push_back(options);
    windows.push_back(window);
    done(openPaths);
}
