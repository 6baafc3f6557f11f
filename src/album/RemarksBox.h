#pragma once

#include <QPlainTextEdit>

namespace zv {

// The remarks field: several lines, a character limit, and taller while it has the focus
// so the text can be read; it then lies over whatever is below it.
class RemarksBox : public QPlainTextEdit {
    Q_OBJECT
public:
    RemarksBox(int maxLength, int focusedHeight, QWidget *parent = nullptr);

    void setCollapsedHeight(int height) { m_collapsedHeight = height; }
    int maxLength() const { return m_maxLength; }

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void enforceLimit();

    int m_maxLength;
    int m_focusedHeight;
    int m_collapsedHeight = 13;
};

} // namespace zv
