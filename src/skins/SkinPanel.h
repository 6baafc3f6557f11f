#pragma once

#include <QPixmap>
#include <QWidget>

namespace zv {

// A panel that looks see-through: it paints the piece of window background that lies under it
// (handed in by ApplySkin) and carries its child controls on top.
class SkinPanel : public QWidget {
    Q_OBJECT

public:
    explicit SkinPanel(const QString &objectName, QWidget *parent = nullptr);

    void setBackdrop(const QPixmap &backdrop);
    const QPixmap &backdrop() const { return m_backdrop; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_backdrop;
};

} // namespace zv
