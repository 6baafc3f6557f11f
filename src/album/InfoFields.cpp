#include "InfoFields.h"

#include "ListFont.h"
#include "RemarksBox.h"

#include "app/MainWindowLayout.h"

#include <QLabel>
#include <QLineEdit>

namespace zv {
namespace {

QLabel *fieldLabel(const QString &text, int top, QWidget *window)
{
    auto *label = new QLabel(text, window);
    label->setFont(dialogFont());
    label->setGeometry(layout::kFieldLabelLeft, top - 2, layout::kFieldLabelWidth, layout::kField.height() + 4);
    return label;
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
        *field.box = box;
        top += layout::kFieldPitch;
    }
    fieldLabel(QStringLiteral("Bemerkungen:"), top, window);
    txtBemerkungen = new RemarksBox(PictureInfo::BemerkungenWidth, layout::kRemarksFocusedHeight, window);
    txtBemerkungen->setObjectName(QStringLiteral("txtBemerkungen"));
    txtBemerkungen->setFont(boxFont);
    txtBemerkungen->setGeometry(QRect(QPoint(layout::kFieldLeft, top), layout::kField));
    txtBemerkungen->setCollapsedHeight(layout::kField.height());
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
    txtDatum->setText(info.datum);
    txtOrt->setText(info.ort);
    txtNamen->setText(info.namen);
    txtStichWorte->setText(info.anlass);
    txtBemerkungen->setPlainText(info.bemerkungen);
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
