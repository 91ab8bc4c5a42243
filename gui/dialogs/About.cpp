#include "dialogs/About.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/VersionInfo.h"
#include "dialogs/ResizableDialog.h"
#include "dialogs/UserPrompts.h"

namespace quorvane {
namespace {

QLabel* Label(const char* name, const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setFont(QFont(QStringLiteral("Arial"), 10));
    label->setWordWrap(true);
    return label;
}

QString Value(const char* key) {
    return FromEngine(VersionValue(key));
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(parent ? QStringLiteral("About ") + parent->window()->windowTitle()
                          : QStringLiteral("About"));

    auto* icon = new QLabel;
    icon->setObjectName(QStringLiteral("imgIcon"));
    icon->setFixedSize(33, 33);
    icon->setPixmap(QApplication::windowIcon().pixmap(33, 33));

    auto* top = new QGridLayout;
    top->addWidget(Label("lblProduct", Value("FileDescription")), 0, 0);
    top->addWidget(icon, 0, 1, Qt::AlignCenter);
    top->addWidget(Label("lblVersion", QStringLiteral("Version ") + Value("FileVersion").left(5)),
                   0, 2);
    top->setColumnStretch(0, 1);
    top->setColumnStretch(2, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Label("lblCopyright", Value("LegalCopyright")));
    layout->addWidget(Label("lblTrademark", Value("LegalTradeMarks")));
    layout->addWidget(Label("lblAuthor", Value("Author")));
    layout->addWidget(Label("lblPublication", FromEngine(std::string(kPublicationNote))));
    layout->addWidget(Label("lblDate", Value("PubDate")));
    layout->addStretch(1);
    layout->addWidget(buttons, 0, Qt::AlignCenter);
    MakeResizable(*this);
    resize(338, 250);
}

} // namespace quorvane
