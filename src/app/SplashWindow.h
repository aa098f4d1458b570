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
    void Start();

    // The platform the program runs on, such as "Linux 64bit".
    static QString PlatformText();

public slots:
    void TimeUp();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void FrameClicked();

    MainWindow& m_main;
    QTimer m_closeTimer;

    QFrame* m_frame = nullptr;
    QLabel* m_logo = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_productName = nullptr;
    QLabel* m_companyProduct = nullptr;
    QLabel* m_platform = nullptr;
    QLabel* m_copyright = nullptr;
    QLabel* m_warning = nullptr;
    QLabel* m_licensedTo = nullptr;
};
