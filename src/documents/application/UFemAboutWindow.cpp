#include "documents/application/UFemAboutWindow.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QStyle>
#include <QSysInfo>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int WindowWidth = 480;
constexpr int WindowHeight = 270;
constexpr int IconSize = 128;
constexpr int NamePixelSize = 28;
constexpr int TextPixelSize = 12;

// A frame given from the bottom left, as the layout was drawn, placed from the top left.
QRect frameFromBottom(int x, int y, int width, int height, int parentHeight)
{
    return QRect(x, parentHeight - y - height, width, height);
}

QLabel* addLabel(QWidget* parent, const QString& text, const QRect& frame, int pixelSize,
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    QFont font = QApplication::font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setGeometry(frame);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QIcon applicationIcon(const QWidget& window)
{
    const QIcon icon = QApplication::windowIcon();
    return icon.isNull() ? window.style()->standardIcon(QStyle::SP_ComputerIcon) : icon;
}

void addNoticeBox(QWidget* window)
{
    auto* box = new QFrame(window);
    box->setGeometry(frameFromBottom(40, 50, 400, 44, WindowHeight));
    box->setStyleSheet(QStringLiteral(
        "QFrame { border: 1px solid black; background-color: rgba(217, 204, 191, 255); }"
        "QLabel { border: none; background: transparent; }"));
    addLabel(box, QStringLiteral("This software is still Under Development. NO WARRANTY."),
        frameFromBottom(4, 0, 392, 28, 44), TextPixelSize);
}

} // namespace

std::unique_ptr<QWidget> UFemAboutWindow::makeWindow()
{
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window);
    window->setWindowTitle(QObject::tr("About Vantrel"));
    window->setFixedSize(WindowWidth, WindowHeight);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);

    auto* icon = new QLabel(window.get());
    // The largest picture the icon has, brought to the icon's size.
    const QIcon picture = applicationIcon(*window);
    const QList<QSize> sizes = picture.availableSizes();
    const auto byArea
        = [](QSize a, QSize b) { return a.width() * a.height() < b.width() * b.height(); };
    const QSize largest = sizes.isEmpty() ? QSize(IconSize, IconSize)
                                          : *std::max_element(sizes.begin(), sizes.end(), byArea);
    icon->setPixmap(picture.pixmap(largest).scaled(
        IconSize, IconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setAlignment(Qt::AlignCenter);
    icon->setGeometry(frameFromBottom(50, 114, IconSize, IconSize, WindowHeight));

    const auto centred = Qt::AlignHCenter | Qt::AlignVCenter;
    addLabel(window.get(), QApplication::applicationName(),
        frameFromBottom(220, 200, 220, 40, WindowHeight), NamePixelSize,
        Qt::AlignLeft | Qt::AlignVCenter, true);
    addLabel(window.get(), QObject::tr("Version %1").arg(QApplication::applicationVersion()),
        frameFromBottom(220, 168, 180, 20, WindowHeight), TextPixelSize, centred);
    addLabel(window.get(),
        QStringLiteral("( %1 %2bit )")
            .arg(QSysInfo::buildCpuArchitecture())
            .arg(QSysInfo::WordSize),
        frameFromBottom(220, 148, 180, 20, WindowHeight), TextPixelSize, centred);
    addLabel(window.get(), UFemWebSiteAddress, frameFromBottom(224, 104, 200, 20, WindowHeight),
        TextPixelSize);
    addNoticeBox(window.get());
    addLabel(window.get(), UFemCopyrightString, frameFromBottom(40, 14, 400, 20, WindowHeight),
        TextPixelSize, centred);
    return window;
}
