#pragma once

#include <QTimer>
#include <QWidget>

class MainWindow;
class QFrame;
class QLabel;

// The splash window (frmSplash), the program's first window: its load shows the main window,
// then itself for a moment.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kShowMs = 1500;

    explicit SplashWindow(MainWindow& main, QWidget* parent = nullptr);

    // Fills the labels, runs the main window's load and shows the splash, which closes itself
    // kShowMs later.
    void Form_Load();

    // The platform the program runs on, such as "Linux 64bit".
    static QString PlatformText();

public slots:
    void Timer1_Timer();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Frame1_Click();

    MainWindow& m_main;
    QTimer Timer1;

    QFrame* Frame1 = nullptr;
    QLabel* imgLogo = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblCompanyProduct = nullptr;
    QLabel* lblPlatform = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblWarning = nullptr;
    QLabel* lblLicenseTo = nullptr;
};
