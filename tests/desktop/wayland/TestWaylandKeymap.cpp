// The keymap the Wayland desktop uploads, compiled back with libxkbcommon as a client would.

#include "desktop/wayland/WaylandKeymap.h"

#include <QTest>

#include <xkbcommon/xkbcommon.h>

#include <memory>

namespace {

// What a client makes of the keymap: the symbol of a key code, and the modifiers it sets while down.
struct ClientView
{
    explicit ClientView(const QByteArray& text)
    {
        context = xkb_context_new(XKB_CONTEXT_NO_DEFAULT_INCLUDES);
        keymap = xkb_keymap_new_from_string(context, text.constData(), XKB_KEYMAP_FORMAT_TEXT_V1,
                                            XKB_KEYMAP_COMPILE_NO_FLAGS);
        state = keymap != nullptr ? xkb_state_new(keymap) : nullptr;
    }
    ~ClientView()
    {
        xkb_state_unref(state);
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
    }
    quint32 SymbolOf(quint32 code) const { return xkb_state_key_get_one_sym(state, code + 8); }
    quint32 ModifiersWhileDown(quint32 code) const
    {
        xkb_state_update_key(state, code + 8, XKB_KEY_DOWN);
        const quint32 mods = xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED);
        xkb_state_update_key(state, code + 8, XKB_KEY_UP);
        return mods;
    }
    xkb_context* context = nullptr;
    xkb_keymap* keymap = nullptr;
    xkb_state* state = nullptr;
};

const auto kNothingHeld = [](quint32) {
    return false;
};

} // namespace

class TestWaylandKeymap : public QObject
{
    Q_OBJECT

private slots:
    void everySymbolHasAKeyOfItsOwn_data()
    {
        QTest::addColumn<QList<quint32>>("keysyms");
        QTest::addColumn<QList<QByteArray>>("modifiers"); // the modifier each key sets, empty for none
        QTest::newRow("Latin, upper case without Shift")
            << QList<quint32>{XKB_KEY_a, XKB_KEY_A, XKB_KEY_odiaeresis, XKB_KEY_ssharp}
            << QList<QByteArray>{"", "", "", ""};
        QTest::newRow("beyond Latin-1") << QList<quint32>{XKB_KEY_EuroSign, 0x100042f /* Я */, 0x10065e5 /* 日 */}
                                        << QList<QByteArray>{"", "", ""};
        QTest::newRow("combination") << QList<quint32>{XKB_KEY_Control_R, XKB_KEY_Shift_L, XKB_KEY_ISO_Level3_Shift,
                                                       XKB_KEY_Super_L,   XKB_KEY_Alt_L,   XKB_KEY_F11}
                                     << QList<QByteArray>{"Control", "Shift", "Mod5", "Mod4", "Mod1", ""};
    }
    void everySymbolHasAKeyOfItsOwn()
    {
        QFETCH(QList<quint32>, keysyms);
        QFETCH(QList<QByteArray>, modifiers);
        WaylandKeymap keymap;
        QList<quint32> codes;
        for (const quint32 keysym : keysyms) {
            const WaylandKeymap::Key key = keymap.KeyFor(keysym, kNothingHeld);
            QVERIFY(key.added && !codes.contains(key.code));
            QCOMPARE(keymap.KeyFor(keysym, kNothingHeld).code, key.code); // asked again: the same key
            codes << key.code;
        }
        const ClientView client(keymap.Text());
        QVERIFY(client.state != nullptr);
        for (qsizetype i = 0; i < keysyms.size(); ++i) {
            QCOMPARE(client.SymbolOf(codes[i]), keysyms[i]);
            const xkb_mod_index_t index = xkb_keymap_mod_get_index(client.keymap, modifiers[i].constData());
            const quint32 expected = modifiers[i].isEmpty() ? 0 : 1U << index;
            QCOMPARE(client.ModifiersWhileDown(codes[i]), expected);
            QCOMPARE(keymap.ModifierMaskOf(codes[i]), expected);
        }
    }

    // A full keymap makes room by dropping the keys not down; a held key keeps its code and symbol.
    void aFullKeymapKeepsTheHeldKeys()
    {
        WaylandKeymap keymap;
        for (int i = 0; i < WaylandKeymap::kMaxKeys; ++i)
            QVERIFY(keymap.KeyFor(0x1000100 + static_cast<quint32>(i), kNothingHeld).added);
        const quint32 heldCode = keymap.KeyFor(0x1000100 + 9, kNothingHeld).code;
        const WaylandKeymap::Key added =
            keymap.KeyFor(XKB_KEY_EuroSign, [&](quint32 code) { return code == heldCode; });
        QVERIFY(added.added && added.code != 0 && added.code != heldCode);
        QCOMPARE(keymap.KeyCount(), static_cast<int>(heldCode)); // the free keys after the held one are gone
        const ClientView client(keymap.Text());
        QCOMPARE(client.SymbolOf(heldCode), quint32(0x1000100 + 9));
        QCOMPARE(client.SymbolOf(added.code), quint32(XKB_KEY_EuroSign));
    }

    void aSymbolWithoutANameGetsNoKey()
    {
        WaylandKeymap keymap;
        QCOMPARE(keymap.KeyFor(0, kNothingHeld).code, quint32(0));
        QVERIFY(!keymap.Text().isEmpty()); // an empty keymap still compiles
    }
};

QTEST_GUILESS_MAIN(TestWaylandKeymap)
#include "TestWaylandKeymap.moc"
