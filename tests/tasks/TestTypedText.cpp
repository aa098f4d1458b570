#include "support/KeyNames.h"
#include "tasks/TypedText.h"

#include <QTest>

// A typing task edited as the text it types: keys to text and back give the same keys, and the text
// back, over Latin, Cyrillic, CJK and emoji characters, keys that type nothing, and braces.
class TestTypedText : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("keys"); // key symbol names
        QTest::newRow("ASCII and punctuation") << "Hello, World!"
                                               << "H e l l o comma space W o r l d exclam";
        QTest::newRow("German") << "Grüße, 5 €"
                                << "G r udiaeresis ssharp e comma space 5 space EuroSign";
        QTest::newRow("Hungarian, beyond Latin-1") << "őZ"
                                                   << "odoubleacute Z";
        QTest::newRow("Cyrillic") << "Да"
                                  << "Cyrillic_DE Cyrillic_a";
        QTest::newRow("CJK, no key of its own") << "日本"
                                                << "U65E5 U672C";
        QTest::newRow("beyond the basic plane") << "x😀"
                                                << "x U1F600";
        QTest::newRow("keys that type nothing") << "a{Return}{Tab}{Left}{F5}{BackSpace}{Escape}b"
                                                << "a Return Tab Left F5 BackSpace Escape b";
        QTest::newRow("braces typed") << "{{x}"
                                      << "braceleft x braceright";
        QTest::newRow("the keypad's 1 keeps its name") << "{KP_1}1"
                                                       << "KP_1 1";
    }

    void roundTrip()
    {
        QFETCH(QString, text);
        QFETCH(QString, keys);
        QCOMPARE(TypedText::FromKeys(KeysNamed(keys)), text);
        QCOMPARE(TypedText::ToKeys(text), std::optional(KeysNamed(keys)));
    }

    // What a person may write that is no typing task; a line end or a tab pasted in is its key.
    void refusedAndPasted()
    {
        for (const char* text : {"{NoSuchKey}", "{Return", "{}", "", "a\x01", "{Ünï}"})
            QVERIFY2(!TypedText::ToKeys(QString::fromUtf8(text)), text);
        QCOMPARE(TypedText::ToKeys("a\nb\tc"), std::optional(KeysNamed("a Return b Tab c")));
    }
};

QTEST_GUILESS_MAIN(TestTypedText)
#include "TestTypedText.moc"
