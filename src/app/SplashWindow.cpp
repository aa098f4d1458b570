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
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_main(main), Timer1(this)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(AppInfo::ProductName());
    // The main window alone decides when the program ends.
    setAttribute(Qt::WA_QuitOnClose, false);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setSingleShot(true);
    Timer1.setInterval(kShowMs);
    connect(&Timer1, &QTimer::timeout, this, &SplashWindow::Timer1_Timer);
    BuildControls();
}

void SplashWindow::BuildControls()
{
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Raised);
    Frame1->setLineWidth(2);
    // Clicks on the labels reach the frame too: a label takes no mouse presses of its own.
    Frame1->installEventFilter(this);

    imgLogo = AddLabel(Frame1, "imgLogo");
    imgLogo->setPixmap(AppLogo::Pixmap(kLogoSide));
    lblCompanyProduct = AddLabel(Frame1, "lblCompanyProduct");
    lblProductName = AddLabel(Frame1, "lblProductName");
    SetPointSize(lblProductName, 2.0, true);
    lblLicenseTo = AddLabel(Frame1, "lblLicenseTo");
    lblLicenseTo->setText(QStringLiteral("Freeware"));
    lblPlatform = AddLabel(Frame1, "lblPlatform");
    SetPointSize(lblPlatform, 1.3, true);
    lblVersion = AddLabel(Frame1, "lblVersion");
    SetPointSize(lblVersion, 1.1, false);
    lblWarning = AddLabel(Frame1, "lblWarning");
    lblWarning->setWordWrap(true);
    lblCopyright = AddLabel(Frame1, "lblCopyright");

    auto* grid = new QGridLayout(Frame1);
    grid->setContentsMargins(24, 20, 24, 16);
    grid->setHorizontalSpacing(20);
    grid->addWidget(lblLicenseTo, 0, 2, Qt::AlignRight);
    grid->addWidget(imgLogo, 1, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(lblCompanyProduct, 1, 1, 1, 2);
    grid->addWidget(lblProductName, 2, 1, 1, 2);
    grid->addWidget(lblPlatform, 3, 2, Qt::AlignRight);
    grid->addWidget(lblVersion, 4, 2, Qt::AlignRight);
    grid->addWidget(lblWarning, 5, 0, 1, 3);
    grid->addWidget(lblCopyright, 6, 0, 1, 3);
    grid->setColumnMinimumWidth(1, 260);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Frame1);
}

void SplashWindow::Form_Load()
{
    lblVersion->setText(QStringLiteral("Versione ") + AppInfo::VersionText());
    lblProductName->setText(AppInfo::ProductName());
    lblCompanyProduct->setText(AppInfo::CompanyName());
    lblPlatform->setText(PlatformText());
    lblCopyright->setText(AppInfo::CopyrightLine());
    lblWarning->setText(TextTable::Text(201));

    m_main.Form_Load();
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
    Timer1.start();
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

void SplashWindow::Timer1_Timer()
{
    close();
}

void SplashWindow::Frame1_Click()
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
    if (watched == Frame1 && event->type() == QEvent::MouseButtonPress) {
        Frame1_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Closing only hides the splash and stops its timer; the main window is left as it is.
void SplashWindow::closeEvent(QCloseEvent* event)
{
    Timer1.stop();
    QWidget::closeEvent(event);
}
