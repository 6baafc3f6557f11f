#pragma once

#include <QString>

#include <memory>
#include <optional>

class QWidget;

namespace zv {

enum class MessageIcon { None, Information, Question, Warning, Critical };

// The button sets of the system's message boxes.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };

enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// Every message and input box goes through here, so tests can script the answers.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer message(const QString &title, const QString &text, MessageIcon icon,
                                  MessageButtons buttons) = 0;
    // nullopt when the user cancels.
    virtual std::optional<QString> input(const QString &title, const QString &prompt, const QString &initial) = 0;
};

// Modal Qt boxes parented to `parent` (may be null).
std::unique_ptr<Dialogs> makeQtDialogs(QWidget *parent = nullptr);

} // namespace zv
