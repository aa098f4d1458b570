#pragma once

#include <QString>

// The shared file dialog of the file commands. It keeps its properties between uses, as one
// dialog object would: the title last set (Append sets one and it stays for Open and Save too),
// the name chosen last (offered again next time) and the folder it starts in. The window system's
// dialog lives behind Ask(), which tests replace.
class FileChooser
{
public:
    enum class Mode
    {
        Open, // an existing file
        Save, // a new or existing file; the dialog asks before an existing one is replaced
    };

    // What one showing of the dialog is given.
    struct Request
    {
        Mode mode;
        QString title;       // empty: the dialog's own title for its mode
        QString initialPath; // the name chosen last, or the starting folder before any choice
    };

    // The extension of macro files, added to a name saved without one.
    static constexpr char kSuffix[] = "#cw";

    FileChooser() = default;
    virtual ~FileChooser() = default;
    FileChooser(const FileChooser&) = delete;
    FileChooser& operator=(const FileChooser&) = delete;

    void SetTitle(const QString& title) { m_title = title; }
    QString Title() const { return m_title; }
    QString LastChosen() const { return m_lastChosen; }

    // The chosen path, or an empty text when the user cancels.
    QString ChooseFileToOpen();
    QString ChooseFileToSave();

    // The folder the dialog starts in before any choice: the program's folder where the user may
    // write there, otherwise the home folder.
    static QString StartFolder(const QString& programFolder);
    // path, with ".#cw" added when its name has no extension.
    static QString WithSuffix(const QString& path);

protected:
    // Shows the dialog and returns the chosen full path, or an empty text when cancelled.
    virtual QString Ask(const Request& request) = 0;

private:
    QString Choose(Mode mode);

    QString m_title;
    QString m_lastChosen;
};
