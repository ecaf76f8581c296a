#pragma once
// Prompter: every dialog a window raises towards the operator (message, input, file and colour
// dialogs), the bell and the clipboard. Talks to the desktop; tests use a scripted fake.
#include <QString>
#include <cstdint>
#include <optional>

namespace velk {

enum class MessageIcon { None, Information, Question, Warning, Critical };
enum class MessageButtons { Ok, YesNo, OkCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct FileDialogRequest
{
    QString title;
    QString folder;       // where the dialog starts
    QString filter;       // e.g. "Log Files (*.log) | *.log"
    QString proposedName; // full path offered to the operator (save only)
};

// The extension a save dialog adds to a name typed without one: the first pattern of the filter
// when it names one ("Log Files (*.log) | *.log" gives "log"), else empty ("*.*", no filter).
QString defaultSuffixOf(const QString& filter);
// The chosen path, with the filter's default suffix added when its file name has no extension.
QString withDefaultSuffix(const QString& path, const QString& filter);

class Prompter
{
public:
    virtual ~Prompter() = default;
    virtual MessageAnswer message(const QString& text, const QString& title,
                                  MessageIcon icon = MessageIcon::None,
                                  MessageButtons buttons = MessageButtons::Ok) = 0;
    // Returns the typed text, or nothing when the operator cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& initial = QString()) = 0;
    // Return the chosen path, or nothing on cancel. Saving asks before overwriting.
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    // Colours are &HBBGGRR values; a cancelled dialog returns its initial colour.
    virtual std::uint32_t chooseColour(std::uint32_t initial) = 0;
    virtual void bell() = 0;
    virtual void setClipboardText(const QString& text) = 0;
};

} // namespace velk
