#include "documents/preferences/UFemPreferencePanelController.h"

#include "ui_UFemPreferencePanel.h"

#include "appkit/SharedWidget.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowFront.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "foundation/UFemHeaderGlobals.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "graphics/opengl/UGLOpenGLVersion.h"
#include "platform/UUserDefaults.h"

#include <QStandardItemModel>

#include <array>

namespace {

// The counts the thread pop-up offers besides automatic (0), largest first for rounding down.
constexpr std::array<quint64, 8> allowedThreadCounts { 16, 12, 8, 6, 4, 3, 2, 1 };
constexpr quint64 largestRoundedThreadCount = 99;
const QString removedRendererSuffix = QStringLiteral(" OpenGL Engine");

quint64 roundedReferenceThreadCount(quint64 count)
{
    if (count == 0 || count > largestRoundedThreadCount)
        return 0;
    for (quint64 allowed : allowedThreadCounts) {
        if (count >= allowed)
            return allowed;
    }
    return 0;
}

QString rendererItemTitle(const UOpenGLGraphicProcessorInfoRecord& record)
{
    QString name = record.rendererString;
    const qsizetype suffix = name.indexOf(removedRendererSuffix, 0, Qt::CaseInsensitive);
    if (suffix >= 0)
        name.remove(suffix, removedRendererSuffix.size());
    return ULocalizedFormattedString(
        "%@ ( %@ )", name, UGLOpenGLVersionString(record.openGLVersion));
}

void selectItemWithData(QComboBox* popup, quint64 data)
{
    const QSignalBlocker blocker(popup);
    popup->setCurrentIndex(popup->findData(data));
}

} // namespace

UFemPreferencePanelController::UFemPreferencePanelController(UUserDefaults& userDefaults,
    const UGLGraphicProcessorInfoManager& rendererCatalogue, SheetPresenter& sheets, bool isShared,
    QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::UFemPreferencePanel>())
    , userDefaults_(userDefaults)
    , rendererCatalogue_(rendererCatalogue)
    , sheets_(sheets)
    , isShared_(isShared)
{
    ui_->setupUi(this);
    UFemUserPreferences::registerDefaults(userDefaults_);
    setupPreferencePanel();
    updatePreferencePanelFromUserDefault();
    connectControls();
}

UFemPreferencePanelController::~UFemPreferencePanelController() = default;

UFemPreferencePanelController& UFemPreferencePanelController::sharedPreferencePanelController(
    SheetPresenter& sheets)
{
    return SharedWidget<UFemPreferencePanelController>::widget([&sheets] {
        return std::make_unique<UFemPreferencePanelController>(
            UUserDefaults::standardUserDefaults(),
            UGLGraphicProcessorInfoManager::sharedGraphicProcessorInfoManager(), sheets, true);
    });
}

void UFemPreferencePanelController::showPanel()
{
    WindowFront::bring(*this);
}

void UFemPreferencePanelController::connectControls()
{
    connect(
        ui_->referenceThreadCountPopupButtonOutlet, &QComboBox::activated, this, [this](int index) {
            setReferenceThreadCount(
                ui_->referenceThreadCountPopupButtonOutlet->itemData(index).toULongLong());
        });
    connect(ui_->openGLRendererPopupButtonOutlet, &QComboBox::activated, this, [this](int index) {
        openGLRendererPopupMenuItemSelected(
            ui_->openGLRendererPopupButtonOutlet->itemData(index).toULongLong());
    });
    connect(ui_->renderingOpenGLVersionPopupButtonOutlet, &QComboBox::activated, this,
        [this](int index) {
            setRenderingOpenGLVersion(
                ui_->renderingOpenGLVersionPopupButtonOutlet->itemData(index).toULongLong());
        });
    connect(ui_->doesUseOpenGLFrameBufferObjectCheckButtonOutlet, &QCheckBox::toggled, this,
        [this](bool checked) { setDoesUseOpenGLFrameBufferObjectState(checked ? 1 : 0); });
    connect(ui_->doesDisplayGraphicViewDrawingTimeCheckButton, &QCheckBox::toggled, this,
        [this](bool checked) { setDoesDisplayGraphicViewDrawingTimeState(checked); });
    connect(ui_->okButton, &QPushButton::clicked, this,
        [this] { preferencePanelButtonPushed(okButtonTag); });
    connect(ui_->applyButton, &QPushButton::clicked, this,
        [this] { preferencePanelButtonPushed(applyButtonTag); });
    connect(ui_->cancelButton, &QPushButton::clicked, this,
        [this] { preferencePanelButtonPushed(cancelButtonTag); });
}

void UFemPreferencePanelController::setupPreferencePanel()
{
    setupThreadAndVersionPopups();
    ui_->doesDisplayGraphicViewDrawingTimeCheckButton->setChecked(
        doesDisplayGraphicViewDrawingTimeState());
    QComboBox* renderers = ui_->openGLRendererPopupButtonOutlet;
    renderers->clear();
    renderers->addItem(ULocalizedFormattedString("Auto"), UFemAutomaticOpenGLRendererIdentifier);
    renderers->insertSeparator(1);
    if (!addRendererItems())
        return;
    const quint64 defaultRenderer = rendererCatalogue_.defaultRendererVirtualScreenIdentifier();
    const int defaultItem
        = renderers->findData(UFemFirstOpenGLRendererIdentifier + defaultRenderer);
    if (defaultRenderer != UGLNoVirtualScreenIdentifier && defaultItem >= 0)
        renderers->setItemText(
            0, ULocalizedFormattedString("Auto - %@", renderers->itemText(defaultItem)));
}

void UFemPreferencePanelController::setupThreadAndVersionPopups()
{
    QComboBox* threads = ui_->referenceThreadCountPopupButtonOutlet;
    threads->clear();
    threads->addItem(
        ULocalizedFormattedString("Auto - %lu", UFemUserPreferences::defaultReferenceThreadCount()),
        quint64(0));
    for (auto count = allowedThreadCounts.rbegin(); count != allowedThreadCounts.rend(); ++count)
        threads->addItem(QString::number(*count), *count);
    QComboBox* versions = ui_->renderingOpenGLVersionPopupButtonOutlet;
    versions->clear();
    versions->addItem(ULocalizedFormattedString("Auto"), quint64(0));
    for (quint64 version : { UGLOpenGLVersion_1_1, UGLOpenGLVersion_1_4 })
        versions->addItem(UGLOpenGLVersionString(version), version);
}

bool UFemPreferencePanelController::addRendererItems()
{
    QComboBox* renderers = ui_->openGLRendererPopupButtonOutlet;
    auto* model = qobject_cast<QStandardItemModel*>(renderers->model());
    const quint64 count = rendererCatalogue_.virtualScreenCount();
    for (quint64 screen = 0; screen < count; ++screen) {
        UOpenGLGraphicProcessorInfoRecord record;
        UErrorPtr error;
        if (!rendererCatalogue_.getGraphicProcessorInfo(screen, &record, &error)) {
            showError(error);
            return false;
        }
        if (screen != 0 && screen == rendererCatalogue_.softwareRendererVirtualScreenIdentifier())
            renderers->insertSeparator(renderers->count());
        renderers->addItem(rendererItemTitle(record), UFemFirstOpenGLRendererIdentifier + screen);
        // Listed but not choosable: it cannot draw off-screen.
        if (!record.isFrameBufferObjectSupported && !record.isPixelBufferSupported && model)
            model->item(renderers->count() - 1)->setEnabled(false);
    }
    return true;
}

void UFemPreferencePanelController::updatePreferencePanelFromUserDefault()
{
    setReferenceThreadCount(
        quint64(userDefaults_.integerForKey(UFemReferenceThreadCountPreferencesKey)));
    const QString rendererName
        = userDefaults_.stringForKey(UFemOpenGLRendererNameStringPreferencesKey);
    quint64 rendererIdentifier = UFemAutomaticOpenGLRendererIdentifier;
    if (!rendererName.isEmpty()) {
        UErrorPtr notFound;
        const quint64 screen
            = rendererCatalogue_.virtualScreenIdentifierWithRendererString(rendererName, &notFound);
        if (screen != UGLNoVirtualScreenIdentifier)
            rendererIdentifier = UFemFirstOpenGLRendererIdentifier + screen;
    }
    openGLRendererIdentifier_ = UFemUnsetOpenGLRendererIdentifier;
    updateOpenGLRendererPopupMenuItemDidChangeWithRendererIdentifier(rendererIdentifier);
    setRenderingOpenGLVersion(
        quint64(userDefaults_.integerForKey(UFemRenderingOpenGLVersionPreferencesKey)));
    // A renderer that could not be read has been reported once already.
    UOpenGLGraphicProcessorInfoRecord record;
    if (openGLRendererIdentifier_ != UFemUnsetOpenGLRendererIdentifier
        && getRendererInfo(rendererIdentifier, &record)) {
        const bool stored
            = userDefaults_.objectForKey(UFemDoesUseOpenGLFrameBufferObjectPreferencesKey).isValid()
            && userDefaults_.boolForKey(UFemDoesUseOpenGLFrameBufferObjectPreferencesKey);
        setDoesUseOpenGLFrameBufferObjectState(
            stored && record.isFrameBufferObjectSupported ? 1 : 0);
    }
}

void UFemPreferencePanelController::
    updateOpenGLRendererPopupMenuItemDidChangeWithRendererIdentifier(quint64 rendererIdentifier)
{
    if (rendererIdentifier == openGLRendererIdentifier_)
        return;
    UOpenGLGraphicProcessorInfoRecord record;
    if (!getRendererInfo(rendererIdentifier, &record)) {
        selectItemWithData(ui_->openGLRendererPopupButtonOutlet, openGLRendererIdentifier_);
        return;
    }
    openGLRendererIdentifier_ = rendererIdentifier;
    selectItemWithData(ui_->openGLRendererPopupButtonOutlet, rendererIdentifier);
    ui_->renderingOpenGLVersionPopupButtonOutlet->setItemText(0,
        ULocalizedFormattedString("Auto - %@",
            UGLOpenGLVersionString(UGLStandardizedRenderingOpenGLVersion(record.openGLVersion))));
    setRenderingOpenGLVersion(0);
    QCheckBox* frameBufferObjects = ui_->doesUseOpenGLFrameBufferObjectCheckButtonOutlet;
    if (record.isFrameBufferObjectSupported || record.isPixelBufferSupported) {
        frameBufferObjects->setEnabled(
            record.isFrameBufferObjectSupported && record.isPixelBufferSupported);
        setDoesUseOpenGLFrameBufferObjectState(record.isFrameBufferObjectSupported ? 1 : 0);
    }
}

void UFemPreferencePanelController::updateUserDefaultFromPreferencePanel()
{
    userDefaults_.setInteger(qint64(referenceThreadCount_), UFemReferenceThreadCountPreferencesKey);
    QString rendererName;
    // Never set means no renderer could be read at all: automatic is all there is to store.
    if (openGLRendererIdentifier_ != UFemAutomaticOpenGLRendererIdentifier
        && openGLRendererIdentifier_ != UFemUnsetOpenGLRendererIdentifier) {
        UOpenGLGraphicProcessorInfoRecord record;
        if (!getRendererInfo(openGLRendererIdentifier_, &record))
            return;
        rendererName = record.rendererString;
    }
    userDefaults_.setObject(rendererName, UFemOpenGLRendererNameStringPreferencesKey);
    userDefaults_.setInteger(
        qint64(renderingOpenGLVersion_), UFemRenderingOpenGLVersionPreferencesKey);
    userDefaults_.setBool(doesUseOpenGLFrameBufferObjectState_ != 0,
        UFemDoesUseOpenGLFrameBufferObjectPreferencesKey);
}

bool UFemPreferencePanelController::getRendererInfo(
    quint64 rendererIdentifier, UOpenGLGraphicProcessorInfoRecord* record)
{
    const quint64 screen = rendererIdentifier == UFemAutomaticOpenGLRendererIdentifier
        ? rendererCatalogue_.defaultRendererVirtualScreenIdentifier()
        : rendererIdentifier - UFemFirstOpenGLRendererIdentifier;
    UErrorPtr error;
    if (rendererIdentifier < UFemAutomaticOpenGLRendererIdentifier
        || screen == UGLNoVirtualScreenIdentifier) {
        error = UFemUnexpectedError_withDescription(
            ULocalizedFormattedString("Getting Renderer Info failed."));
    } else if (rendererCatalogue_.getGraphicProcessorInfo(screen, record, &error)) {
        return true;
    }
    showError(error);
    return false;
}

void UFemPreferencePanelController::showError(const UErrorPtr& error)
{
    sheets_.runModalAlert(Alert::fromError(*error));
}

void UFemPreferencePanelController::setReferenceThreadCount(quint64 referenceThreadCount)
{
    referenceThreadCount_ = roundedReferenceThreadCount(referenceThreadCount);
    selectItemWithData(ui_->referenceThreadCountPopupButtonOutlet, referenceThreadCount_);
}

void UFemPreferencePanelController::setRenderingOpenGLVersion(quint64 renderingOpenGLVersion)
{
    // A stored value the pop-up does not offer shows as automatic.
    renderingOpenGLVersion_
        = UGLIsValidRenderingOpenGLVersion(renderingOpenGLVersion) ? renderingOpenGLVersion : 0;
    selectItemWithData(ui_->renderingOpenGLVersionPopupButtonOutlet, renderingOpenGLVersion_);
}

void UFemPreferencePanelController::setDoesUseOpenGLFrameBufferObjectState(quint64 state)
{
    doesUseOpenGLFrameBufferObjectState_ = state != 0 ? 1 : 0;
    const QSignalBlocker blocker(ui_->doesUseOpenGLFrameBufferObjectCheckButtonOutlet);
    ui_->doesUseOpenGLFrameBufferObjectCheckButtonOutlet->setChecked(
        doesUseOpenGLFrameBufferObjectState_ != 0);
}

bool UFemPreferencePanelController::doesDisplayGraphicViewDrawingTimeState() const
{
    return isShared_ && UFemDoesDisplayGraphicViewDrawingTime.load();
}

void UFemPreferencePanelController::setDoesDisplayGraphicViewDrawingTimeState(bool state)
{
    if (isShared_)
        UFemDoesDisplayGraphicViewDrawingTime.store(state);
}

void UFemPreferencePanelController::openGLRendererPopupMenuItemSelected(quint64 rendererIdentifier)
{
    updateOpenGLRendererPopupMenuItemDidChangeWithRendererIdentifier(rendererIdentifier);
}

void UFemPreferencePanelController::preferencePanelButtonPushed(int buttonTag)
{
    switch (buttonTag) {
    case okButtonTag:
        updateUserDefaultFromPreferencePanel();
        close();
        break;
    case applyButtonTag:
        updateUserDefaultFromPreferencePanel();
        break;
    case cancelButtonTag:
        close();
        break;
    default:
        break;
    }
}

QComboBox* UFemPreferencePanelController::referenceThreadCountPopupButtonOutlet() const
{
    return ui_->referenceThreadCountPopupButtonOutlet;
}

QComboBox* UFemPreferencePanelController::openGLRendererPopupButtonOutlet() const
{
    return ui_->openGLRendererPopupButtonOutlet;
}

QComboBox* UFemPreferencePanelController::renderingOpenGLVersionPopupButtonOutlet() const
{
    return ui_->renderingOpenGLVersionPopupButtonOutlet;
}

QCheckBox* UFemPreferencePanelController::doesUseOpenGLFrameBufferObjectCheckButtonOutlet() const
{
    return ui_->doesUseOpenGLFrameBufferObjectCheckButtonOutlet;
}
