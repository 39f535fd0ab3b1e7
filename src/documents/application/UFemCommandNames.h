#pragma once

#include "appkit/CommandNames.h"

#include <QString>

// The program's own commands, by their selector names: the main menu, toolbar and pop-ups send
// them, and the controllers answer them.
inline const QString UFemAllCasesCommand = QStringLiteral("allCasesMenuItemSelectedWithMenuItem:");
inline const QString UFemOneCaseCommand
    = QStringLiteral("caseMenuItemInOneCaseSelectedWithMenuItem:");
inline const QString UFemSomeCasesCommand
    = QStringLiteral("caseMenuItemInSomeCasesSelectedWithMenuItem:");
inline const QString UFemChangeResultTableViewSplitDirectionCommand
    = QStringLiteral("changeResultTableViewSplitDirection:");
inline const QString UFemCheckToRunCalculationCommand = QStringLiteral("checkToRunCalculation:");
inline const QString UFemCopyAsTabSeparatedTextCommand = QStringLiteral("copyAsTabSeparatedText:");
inline const QString UFemCutAsTabSeparatedTextCommand = QStringLiteral("cutAsTabSeparatedText:");
inline const QString UFemDeleteCommand = QStringLiteral("delete:");
inline const QString UFemDeselectAllCasesCommand
    = QStringLiteral("deselectAllCasesMenuItemSelectedWithMenuItem:");
inline const QString UFemDisplayResultTableViewSettingPanelCommand
    = QStringLiteral("displayResultTableViewSettingPanel:");
inline const QString UFemDivideSelectedElementsCommand = QStringLiteral("divideSelectedElements:");
inline const QString UFemFileLockWithMenuItemCommand = QStringLiteral("fileLockWithMenuItem:");
inline const QString UFemFindNextCommand = QStringLiteral("findNext:");
inline const QString UFemFindPreviousCommand = QStringLiteral("findPrevious:");
inline const QString UFemFindPreviousErrorCardCommand = QStringLiteral("findPreviousErrorCard:");
inline const QString UFemFindPreviousIncompleteCardCommand
    = QStringLiteral("findPreviousIncompleteCard:");
inline const QString UFemFineNextErrorCardCommand = QStringLiteral("fineNextErrorCard:");
inline const QString UFemFineNextIncompleteCardCommand = QStringLiteral("fineNextIncompleteCard:");
inline const QString UFemFitObjectInViewCommand = QStringLiteral("fitObjectInView:");
inline const QString UFemGraphicMoveModeMenuItemSelectedWithMenuItemCommand
    = QStringLiteral("graphicMoveModeMenuItemSelectedWithMenuItem:");
inline const QString UFemInsertCommand = QStringLiteral("insert:");
inline const QString UFemLoadClipboardCardValueAsTabSeparatedTextWithMenuItemCommand
    = QStringLiteral("loadClipboardCardValueAsTabSeparatedTextWithMenuItem:");
inline const QString UFemLoadClipboardCardValueWithMenuItemCommand
    = QStringLiteral("loadClipboardCardValueWithMenuItem:");
inline const QString UFemLoadResultDataWithMenuItemCommand
    = QStringLiteral("loadResultDataWithMenuItem:");
inline const QString UFemMakeNewWindowCommand = QStringLiteral("makeNewWindow:");
inline const QString UFemMergeNodeOnSameLocationCommand
    = QStringLiteral("mergeNodeOnSameLocation:");
inline const QString UFemNewModelDocumentCommand = QStringLiteral("newModelDocument:");
inline const QString UFemNewProjectDocumentCommand = QStringLiteral("newProjectDocument:");
inline const QString UFemNoCasesCommand = QStringLiteral("noCasesMenuItemSelectedWithMenuItem:");
inline const QString UFemOpenCalculationPanelCommand = QStringLiteral("openCalculationPanel:");
inline const QString UFemOpenFindPanelCommand = QStringLiteral("openFindPanel:");
inline const QString UFemOpenModelEditWindowCommand = QStringLiteral("openModelEditWindow:");
inline const QString UFemOpenUsersManualCommand = QStringLiteral("openUsersManual:");
inline const QString UFemOpenWebSiteCommand = QStringLiteral("openWebSite:");
inline const QString UFemPasteAsTabSeparatedTextCommand
    = QStringLiteral("pasteAsTabSeparatedText:");
inline const QString UFemPrintDocumentCommand = QStringLiteral("printDocument:");
inline const QString UFemReplaceAllCommand = QStringLiteral("replaceAll:");
inline const QString UFemReplaceSelectionCommand = QStringLiteral("replaceSelection:");
inline const QString UFemReplaceSelectionAndFindNextCommand
    = QStringLiteral("replaceSelectionAndFindNext:");
inline const QString UFemRetryAllErrorCardsCommand = QStringLiteral("retryAllErrorCards:");
inline const QString UFemRunPageLayoutCommand = QStringLiteral("runPageLayout:");
inline const QString UFemSaveModelDocumentToCommand = QStringLiteral("saveModelDocumentTo:");
inline const QString UFemScrollToSelectionCommand = QStringLiteral("scrollToSelection:");
inline const QString UFemSelectAllCasesCommand
    = QStringLiteral("selectAllCasesMenuItemSelectedWithMenuItem:");
inline const QString UFemSetDirectionXRightYUpCommand
    = QStringLiteral("setDirection_X_Right_Y_Up:");
inline const QString UFemSetDirectionXRightZUpCommand
    = QStringLiteral("setDirection_X_Right_Z_Up:");
inline const QString UFemSetDirectionYRightZUpCommand
    = QStringLiteral("setDirection_Y_Right_Z_Up:");
inline const QString UFemShowAboutPanelCommand = QStringLiteral("showAboutPanel:");
inline const QString UFemShowOpenGLInfoCommand = QStringLiteral("showOpenGLInfo:");
inline const QString UFemShowPreferencePanelCommand = QStringLiteral("showPreferencePanel:");
inline const QString UFemStartCalculationCommand = QStringLiteral("startCalculation:");
inline const QString UFemTerminateCommand = QStringLiteral("terminate:");
inline const QString UFemUnloadClipboardCardValueCommand
    = QStringLiteral("unloadClipboardCardValue");
inline const QString UFemUnloadResultDataWithMenuItemCommand
    = QStringLiteral("unloadResultDataWithMenuItem:");
inline const QString UFemUseSelectionForFindCommand = QStringLiteral("useSelectionForFind:");
inline const QString UFemViewSettingMenuItemSelectedWithMenuItemCommand
    = QStringLiteral("viewSettingMenuItemSelectedWithMenuItem:");
inline const QString UFemViewTypeMenuItemSelectedWithMenuItemCommand
    = QStringLiteral("viewTypeMenuItemSelectedWithMenuItem:");
