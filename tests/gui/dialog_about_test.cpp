#include <QLabel>
#include <QTest>

#include "dialogs/About.h"

namespace quorvane {

class TAboutTest : public QObject {
    Q_OBJECT

private slots:
    void labelsComeFromTheVersionInformation() {
        QWidget main;
        main.setWindowTitle(QStringLiteral("Quorvane 2.0 - photos"));
        TAboutBox box(&main);
        QCOMPARE(box.windowTitle(), QStringLiteral("About Quorvane 2.0 - photos"));
        const auto text = [&](const char* name) {
            const QLabel* label = box.findChild<QLabel*>(QString::fromLatin1(name));
            return label ? label->text() : QStringLiteral("<missing>");
        };
        QCOMPARE(text("lblProduct"), QStringLiteral("Quorvane"));
        QCOMPARE(text("lblVersion"), QStringLiteral("Version 2.0.2"));
        QCOMPARE(text("lblCopyright"), QStringLiteral("Copyright (C) 2003-2024 Brindlecot"));
        QCOMPARE(text("lblTrademark"),
                 QStringLiteral("Quorvane is a trademark of Brindlecot. All rights reserved."));
        QCOMPARE(text("lblAuthor"), QStringLiteral("Written by the Brindlecot team"));
        QCOMPARE(text("lblPublication"), QStringLiteral("Published by Brindlecot"));
        QCOMPARE(text("lblDate"), QString()); // PubDate has no value
    }

    void withoutAParentTheCaptionIsAbout() {
        TAboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("About"));
    }
};

} // namespace quorvane

QTEST_MAIN(quorvane::TAboutTest)
#include "dialog_about_test.moc"
