#include "InfoFields.h"

#include "ListFont.h"
#include "RemarksBox.h"

#include "app/MainWindowLayout.h"
#include "store/Windows1252.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextCursor>
#include <QToolTip>

#include <algorithm>

namespace zv {
namespace {

QLabel *fieldLabel(const QString &text, int top, QWidget *window)
{
    auto *label = new QLabel(text, window);
    label->setFont(dialogFont());
    label->setGeometry(layout::kFieldLabelLeft, top - 2, layout::kFieldLabelWidth, layout::kField.height() + 4);
    return label;
}

// The trailer stores Windows-1252; a character it cannot hold would come back as "?". Such
// characters are taken out as they are typed or pasted, and the box says why.
QString withoutUnstorable(const QString &text, QWidget *box)
{
    const QStringList refused = windows1252::unencodable(text);
    if (refused.isEmpty())
        return text;
    QString kept = text;
    for (const QString &character : refused)
        kept.remove(character);
    QToolTip::showText(
        box->mapToGlobal(QPoint(0, box->height())),
        QStringLiteral("„%1“ kann in den Bildinformationen nicht gespeichert werden.").arg(refused.join(QString())),
        box);
    return kept;
}

void keepStorable(QLineEdit *box)
{
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString &text) {
        const QString kept = withoutUnstorable(text, box);
        if (kept.size() == text.size())
            return;
        const int cursor = box->cursorPosition() - int(text.size() - kept.size());
        box->setText(kept);
        box->setCursorPosition(std::max(0, cursor));
    });
}

} // namespace

InfoFields::InfoFields(QWidget *window)
{
    struct Field {
        const char *label;
        const char *name;
        int maxLength;
        QLineEdit **box;
    };
    const Field fields[] = {{"Datum:", "txtDatum", PictureInfo::DatumWidth, &txtDatum},
                            {"Ort:", "txtOrt", PictureInfo::OrtWidth, &txtOrt},
                            {"Namen:", "txtNamen", PictureInfo::NamenWidth, &txtNamen},
                            {"Anlass:", "txtStichWorte", PictureInfo::AnlassWidth, &txtStichWorte}};
    QFont boxFont;
    boxFont.setPixelSize(11);
    int top = layout::kFieldTop;
    for (const Field &field : fields) {
        fieldLabel(QString::fromUtf8(field.label), top, window);
        auto *box = new QLineEdit(window);
        box->setObjectName(QString::fromLatin1(field.name));
        box->setMaxLength(field.maxLength);
        box->setFrame(false);
        box->setFont(boxFont);
        box->setTextMargins(2, 0, 0, 0);
        box->setGeometry(QRect(QPoint(layout::kFieldLeft, top), layout::kField));
        keepStorable(box);
        *field.box = box;
        top += layout::kFieldPitch;
    }
    fieldLabel(QStringLiteral("Bemerkungen:"), top, window);
    txtBemerkungen = new RemarksBox(PictureInfo::BemerkungenWidth, layout::kRemarksFocusedHeight, window);
    txtBemerkungen->setObjectName(QStringLiteral("txtBemerkungen"));
    txtBemerkungen->setFont(boxFont);
    txtBemerkungen->setGeometry(QRect(QPoint(layout::kFieldLeft, top), layout::kField));
    txtBemerkungen->setCollapsedHeight(layout::kField.height());
    RemarksBox *remarks = txtBemerkungen;
    QObject::connect(remarks, &QPlainTextEdit::textChanged, remarks, [remarks] {
        const QString text = remarks->toPlainText();
        const QString kept = withoutUnstorable(text, remarks);
        if (kept.size() == text.size())
            return;
        const QSignalBlocker blocker(remarks);
        const int cursor = remarks->textCursor().position() - int(text.size() - kept.size());
        remarks->setPlainText(kept);
        QTextCursor at = remarks->textCursor();
        at.setPosition(std::clamp(cursor, 0, int(kept.size())));
        remarks->setTextCursor(at);
    });
}

PictureInfo InfoFields::typed() const
{
    PictureInfo info;
    info.namen = txtNamen->text();
    info.ort = txtOrt->text();
    info.datum = txtDatum->text();
    info.anlass = txtStichWorte->text();
    info.bemerkungen = txtBemerkungen->toPlainText();
    return info;
}

void InfoFields::show(const PictureInfo &info)
{
    m_shown = info;
    txtDatum->setText(info.datum);
    txtOrt->setText(info.ort);
    txtNamen->setText(info.namen);
    txtStichWorte->setText(info.anlass);
    txtBemerkungen->setPlainText(info.bemerkungen);
}

bool InfoFields::dateChanged() const
{
    return txtDatum->text() != m_shown.datum;
}

void InfoFields::clearForSearch()
{
    txtDatum->clear();
    txtOrt->clear();
    txtNamen->clear();
    txtStichWorte->clear();
    txtBemerkungen->clear();
}

std::array<QWidget *, 5> InfoFields::skinTargets() const
{
    return {txtStichWorte, txtOrt, txtDatum, txtNamen, txtBemerkungen};
}

} // namespace zv
