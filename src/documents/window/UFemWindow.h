#pragma once

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The window layout "UFemWindow": the main view place holder, the optional card string editor
// box and the status bar. Widgets carry their outlet names as object names.
class UFemWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int defaultWidth = 720;
    static constexpr int defaultHeight = 520;

    UFemWindow();

    // Makes `content` the place holder's only content, deleting the previous one's layout slot
    // (not the widget, which its controller owns).
    void setMainViewContent(QWidget* content);

    QFrame* dummyMainViewOutlet;
    QLabel* statusTextFieldOutlet;
    QLabel* statusIconTextFieldOutlet;
    QFrame* optionalCardStringEditorBoxOutlet;
    QLineEdit* optionalCardStringEditorCardRowIndexTextFieldOutlet;
    QLineEdit* optionalCardStringEditorTextFieldOutlet;
    QCheckBox* doesKeepOptionalCardStringEditorCheckButtonOutlet;
    QPushButton* closeOptionalCardStringEditorButtonOutlet;

private:
    void buildEditorBox();
    void buildStatusBar(QVBoxLayout* layout);

    QVBoxLayout* mainViewLayout_;
};
