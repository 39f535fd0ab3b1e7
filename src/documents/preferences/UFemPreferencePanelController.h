#pragma once

#include "foundation/errors/UError.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QCheckBox;
class SheetPresenter;
class UGLGraphicProcessorInfoManager;
class UUserDefaults;
struct UOpenGLGraphicProcessorInfoRecord;
namespace Ui {
class UFemPreferencePanel;
}

// Renderer tags of the panel's renderer pop-up.
inline constexpr quint64 UFemAutomaticOpenGLRendererIdentifier = 1000;
inline constexpr quint64 UFemFirstOpenGLRendererIdentifier = 2000;
inline constexpr quint64 UFemUnsetOpenGLRendererIdentifier = ~quint64(0);

// The Preferences panel: thread count, OpenGL renderer, rendering version, frame buffer objects
// and the 3-D view's drawing-time switch. It reads the user defaults once, when made, and writes
// them only on OK or Apply; Cancel keeps the edited values for the next showing.
class UFemPreferencePanelController : public QDialog {
    Q_OBJECT
public:
    enum ButtonTag { okButtonTag = 1, applyButtonTag = 2, cancelButtonTag = 10 };

    // Only the shared panel (`isShared`) reads and sets the program-wide drawing-time switch.
    UFemPreferencePanelController(UUserDefaults& userDefaults,
        const UGLGraphicProcessorInfoManager& rendererCatalogue, SheetPresenter& sheets,
        bool isShared = false, QWidget* parent = nullptr);
    ~UFemPreferencePanelController() override;

    // Made on first use over the standard user defaults and the process's renderer catalogue, and
    // kept for the run.
    static UFemPreferencePanelController& sharedPreferencePanelController(SheetPresenter& sheets);
    void showPanel();

    quint64 referenceThreadCount() const { return referenceThreadCount_; }
    // Rounds down to 0 (automatic), 1, 2, 3, 4, 6, 8, 12 or 16; above 99 is automatic.
    void setReferenceThreadCount(quint64 referenceThreadCount);
    quint64 openGLRendererIdentifier() const { return openGLRendererIdentifier_; }
    quint64 renderingOpenGLVersion() const { return renderingOpenGLVersion_; }
    void setRenderingOpenGLVersion(quint64 renderingOpenGLVersion);
    quint64 doesUseOpenGLFrameBufferObjectState() const
    {
        return doesUseOpenGLFrameBufferObjectState_;
    }
    void setDoesUseOpenGLFrameBufferObjectState(quint64 state);
    bool doesDisplayGraphicViewDrawingTimeState() const;
    void setDoesDisplayGraphicViewDrawingTimeState(bool state);

    void openGLRendererPopupMenuItemSelected(quint64 rendererIdentifier);
    void preferencePanelButtonPushed(int buttonTag);

    QComboBox* referenceThreadCountPopupButtonOutlet() const;
    QComboBox* openGLRendererPopupButtonOutlet() const;
    QComboBox* renderingOpenGLVersionPopupButtonOutlet() const;
    QCheckBox* doesUseOpenGLFrameBufferObjectCheckButtonOutlet() const;

private:
    void connectControls();
    void setupPreferencePanel();
    void setupThreadAndVersionPopups();
    bool addRendererItems();
    void updatePreferencePanelFromUserDefault();
    void updateOpenGLRendererPopupMenuItemDidChangeWithRendererIdentifier(
        quint64 rendererIdentifier);
    void updateUserDefaultFromPreferencePanel();
    // The renderer of a tag; on failure the error is shown and false answered.
    bool getRendererInfo(quint64 rendererIdentifier, UOpenGLGraphicProcessorInfoRecord* record);
    void showError(const UErrorPtr& error);

    std::unique_ptr<Ui::UFemPreferencePanel> ui_;
    UUserDefaults& userDefaults_;
    const UGLGraphicProcessorInfoManager& rendererCatalogue_;
    SheetPresenter& sheets_;
    const bool isShared_;
    quint64 referenceThreadCount_ = 0;
    quint64 openGLRendererIdentifier_ = UFemUnsetOpenGLRendererIdentifier;
    quint64 renderingOpenGLVersion_ = 0;
    quint64 doesUseOpenGLFrameBufferObjectState_ = 0;
};
