#pragma once

#include "operations/OverwriteQuestion.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace zv {

// The overwrite question. Not modal: while it waits the program's other windows go on
// receiving events. The answer outlives each call, as the window's one field.
class frmRequest : public QWidget, public OverwriteQuestion {
    Q_OBJECT
public:
    explicit frmRequest(QWidget *parent = nullptr);

    // Shows the question and returns "j", "ja", "n" or "na"; the title bar's close box means
    // "n", the safe reading: nothing is replaced that the user did not agree to.
    QString ReqOverWr(const OverwriteFiles &files, const QString &titel) override;

    const QString &answer() const { return m_answer; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void choose(const QString &code);
    // The message's height follows its lines; the buttons stay below it.
    void layOut();

    QLabel *m_lblMSG;
    QString m_answer;
};

} // namespace zv
