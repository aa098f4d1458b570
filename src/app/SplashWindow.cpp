#include "app/SplashWindow.h"

#include "app/AppLogo.h"
#include "app/MainWindow.h"
#include "core/AppInfo.h"
#include "core/TextTable.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QSysInfo>
#include <QVBoxLayout>

namespace {
constexpr int kLogoSide = 96;

QLabel* AddLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

void SetPointSize(QLabel* label, double factor, bool bold)
{
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(bold);
    label->setFont(font);
}
} // namespace

SplashWindow::SplashWindow(MainWindow& main, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_main(main), m_closeTimer(this)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(AppInfo::ProductName());
    // The main window alone decides when the program ends.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_closeTimer.setObjectName(QStringLiteral("Timer1"));
    m_closeTimer.setSingleShot(true);
    m_closeTimer.setInterval(kShowMs);
    connect(&m_closeTimer, &QTimer::timeout, this, &SplashWindow::TimeUp);
    BuildControls();
}

void SplashWindow::BuildControls()
{
    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_frame->setFrameShape(QFrame::Box);
    m_frame->setFrameShadow(QFrame::Raised);
    m_frame->setLineWidth(2);
    // Clicks on the labels reach the frame too: a label takes no mouse presses of its own.
    m_frame->installEventFilter(this);

    m_logo = AddLabel(m_frame, "imgLogo");
    m_logo->setPixmap(AppLogo::Pixmap(kLogoSide));
    m_companyProduct = AddLabel(m_frame, "lblCompanyProduct");
    m_productName = AddLabel(m_frame, "lblProductName");
    SetPointSize(m_productName, 2.0, true);
    m_licensedTo = AddLabel(m_frame, "lblLicenseTo");
    m_licensedTo->setText(TextTable::Text(TextId::LicensedTo));
    m_platform = AddLabel(m_frame, "lblPlatform");
    SetPointSize(m_platform, 1.3, true);
    m_version = AddLabel(m_frame, "lblVersion");
    SetPointSize(m_version, 1.1, false);
    m_warning = AddLabel(m_frame, "lblWarning");
    m_warning->setWordWrap(true);
    m_copyright = AddLabel(m_frame, "lblCopyright");

    auto* grid = new QGridLayout(m_frame);
    grid->setContentsMargins(24, 20, 24, 16);
    grid->setHorizontalSpacing(20);
    grid->addWidget(m_licensedTo, 0, 2, Qt::AlignRight);
    grid->addWidget(m_logo, 1, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(m_companyProduct, 1, 1, 1, 2);
    grid->addWidget(m_productName, 2, 1, 1, 2);
    grid->addWidget(m_platform, 3, 2, Qt::AlignRight);
    grid->addWidget(m_version, 4, 2, Qt::AlignRight);
    grid->addWidget(m_warning, 5, 0, 1, 3);
    grid->addWidget(m_copyright, 6, 0, 1, 3);
    grid->setColumnMinimumWidth(1, 260);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_frame);
}

void SplashWindow::Start()
{
    m_version->setText(TextTable::Text(TextId::VersionLabel) + AppInfo::VersionText());
    m_productName->setText(AppInfo::ProductName());
    m_companyProduct->setText(AppInfo::CompanyName());
    m_platform->setText(PlatformText());
    m_copyright->setText(AppInfo::CopyrightLine());
    m_warning->setText(TextTable::Text(TextId::Disclaimer));

    m_main.Start();
    // A macro named on the command line is being read to be played: its first click, one playback
    // interval after the reading, must land on the desktop, not on the splash; and a message about
    // a file that is not valid comes over the main window alone.
    if (m_main.ReadsCommandLineFile()) {
        close();
        return;
    }
    adjustSize();
    if (const QScreen* screen = m_main.screen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
    // Timed from here, not from the load: the main window's load may wait for the user to answer a
    // message about a command-line file, and a tick during that wait would find the splash hidden
    // and leave it on screen for good once shown.
    m_closeTimer.start();
}

QString SplashWindow::PlatformText()
{
    const QString kernel = QSysInfo::kernelType();
    QString name;
    if (kernel == QLatin1String("linux"))
        name = QStringLiteral("Linux");
    else if (kernel == QLatin1String("freebsd"))
        name = QStringLiteral("FreeBSD");
    else if (kernel == QLatin1String("netbsd"))
        name = QStringLiteral("NetBSD");
    else if (kernel == QLatin1String("openbsd"))
        name = QStringLiteral("OpenBSD");
    else if (kernel == QLatin1String("darwin"))
        name = QStringLiteral("macOS");
    else if (kernel == QLatin1String("winnt"))
        name = QStringLiteral("Windows");
    else
        name = QSysInfo::prettyProductName();
    return QStringLiteral("%1 %2bit").arg(name).arg(QSysInfo::WordSize);
}

void SplashWindow::TimeUp()
{
    close();
}

void SplashWindow::FrameClicked()
{
    close();
}

void SplashWindow::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    close();
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_frame && event->type() == QEvent::MouseButtonPress) {
        FrameClicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Closing only hides the splash and stops its timer; the main window is left as it is.
void SplashWindow::closeEvent(QCloseEvent* event)
{
    m_closeTimer.stop();
    QWidget::closeEvent(event);
}
