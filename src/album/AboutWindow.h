#pragma once

#include <QFrame>

namespace zv {

// A borderless note about the program; it goes away with "Ende" or a click elsewhere.
class AboutWindow : public QFrame {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *parent = nullptr);
};

} // namespace zv
