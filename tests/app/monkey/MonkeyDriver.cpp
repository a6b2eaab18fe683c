#include "MonkeyDriver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

// Dialogs opened from dialogs opened from dialogs: deeper ones are closed at once, as a seller
// would before the stack got out of hand.
constexpr int kMaxDialogDepth = 3;

const QString kCharacters = QStringLiteral(
    "0123456789012345678901234567890123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
    ",,,...///---:; '\"'\"%_*+=()@#$&!?\\|ãõáéíóúâêôçÇÃÉÁÓ´`¨~^");

// Texts a seller types where numbers, dates and codes are expected, and worse.
const QStringList kTypedTexts = {
    QStringLiteral("0"), QStringLiteral("-1"), QStringLiteral("1,5"), QStringLiteral("1.234,56"),
    QStringLiteral("12,34,56"), QStringLiteral("0,0001"), QStringLiteral("99999999999999999999"),
    QStringLiteral("1e308"), QStringLiteral("-0,00"), QStringLiteral("31/02/2024"), QStringLiteral("00/00/0000"),
    QStringLiteral("29/02/2023"), QStringLiteral("12/13/2024"), QStringLiteral("1/1/1"), QStringLiteral("%"),
    QStringLiteral("_"), QStringLiteral("%%'%"), QStringLiteral("D'ÁGUA"), QStringLiteral("O\"BRIEN"),
    QStringLiteral("'; DELETE FROM F530PDF; --"), QStringLiteral("' OR '1'='1"), QStringLiteral("JOSÉ ÇÃO"),
    QStringLiteral("   "), QStringLiteral("\t"), QStringLiteral("1 2 3"), QStringLiteral("0000000"),
    QStringLiteral(u"€ÿ😀"), QStringLiteral(u"中文 Ωж"), QStringLiteral(u"\u0081\u009D"),
};

Qt::Key keyOf(QChar c)
{
    const char16_t upper = c.toUpper().unicode();
    return upper < 0x100 ? Qt::Key(upper) : Qt::Key_unknown;
}

QString describe(const QWidget *widget)
{
    QString text = QString::fromLatin1(widget->metaObject()->className());
    if (!widget->objectName().isEmpty())
        text += u' ' + widget->objectName();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget); button && !button->text().isEmpty())
        text += QStringLiteral(" \"") + button->text() + u'"';
    return text;
}

void sendKey(QWidget *widget, Qt::Key key, const QString &text, Qt::KeyboardModifiers modifiers = {})
{
    QPointer<QWidget> alive(widget);
    QTest::sendKeyEvent(QTest::Press, widget, key, text, modifiers);
    if (alive)
        QTest::sendKeyEvent(QTest::Release, widget, key, text, modifiers);
}

void click(QWidget *widget, QPoint pos, bool twice = false)
{
    QPointer<QWidget> alive(widget);
    QTest::mousePress(widget, Qt::LeftButton, {}, pos);
    if (alive)
        QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
    if (twice && alive)
        QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
    if (twice && alive)
        QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
}

bool isInput(QWidget *w)
{
    return qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w) || qobject_cast<QTextEdit *>(w)
           || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSpinBox *>(w)
           || qobject_cast<QAbstractItemView *>(w);
}

} // namespace

MonkeyDriver::MonkeyDriver(quint64 seed, std::function<QWidget *()> target, std::function<void()> reopen,
                           std::function<void(int, const QString &)> onEvent)
    : m_random(seed)
    , m_target(std::move(target))
    , m_reopen(std::move(reopen))
    , m_onEvent(std::move(onEvent))
{
}

void MonkeyDriver::run(int events)
{
    QEventLoop loop;
    m_loop = &loop;
    m_limit = events;
    m_event = 0;
    m_running = true;
    QTimer::singleShot(0, this, &MonkeyDriver::tick);
    loop.exec();
    m_loop = nullptr;
}

void MonkeyDriver::begin(const QString &action)
{
    m_action = action;
    if (m_onEvent)
        m_onEvent(m_event, m_action);
}

void MonkeyDriver::tick()
{
    if (!m_running)
        return;
    // The next tick is due before this event runs: a dialog it opens runs a loop of its own,
    // and the driver has to go on acting inside it.
    QTimer::singleShot(0, this, &MonkeyDriver::tick);
    QWidget *scope = QApplication::activePopupWidget();
    if (!scope)
        scope = QApplication::activeModalWidget();
    if (!scope && m_depth > 0)
        return; // a dialog is closing and its event is about to resume
    if (m_event >= m_limit) {
        windDown();
        return;
    }
    ++m_event;
    ++m_depth;
    if (!scope && !(scope = m_target())) {
        begin(QStringLiteral("open the window again"));
        m_reopen();
    } else if (m_depth > kMaxDialogDepth && scope == QApplication::activeModalWidget()) {
        begin(QStringLiteral("close deep dialog ") + describe(scope));
        scope->close();
    } else {
        act(scope);
    }
    --m_depth;
}

void MonkeyDriver::windDown()
{
    if (QWidget *popup = QApplication::activePopupWidget()) {
        begin(QStringLiteral("wind down: close drop-down"));
        popup->close();
    } else if (QWidget *modal = QApplication::activeModalWidget()) {
        begin(QStringLiteral("wind down: close ") + describe(modal));
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    } else if (m_depth == 0) {
        m_running = false;
        m_loop->quit();
    }
}

void MonkeyDriver::act(QWidget *scope)
{
    const int roll = below(100);
    if (roll < 34)
        pressKey(scope);
    else if (roll < 46)
        typeText(scope, false);
    else if (roll < 49)
        typeText(scope, true);
    else if (roll < 57)
        focusInput(scope);
    else if (roll < 77)
        clickButton(scope);
    else if (roll < 88)
        clickGrid(scope);
    else if (roll < 92)
        clickTab(scope);
    else
        useList(scope);
}

template<typename T>
QList<T *> MonkeyDriver::usable(QWidget *scope) const
{
    QList<T *> found;
    if (auto *self = qobject_cast<T *>(scope))
        found.append(self);
    const QList<T *> children = scope->findChildren<T *>();
    for (T *w : children)
        if (w->isVisible() && w->isEnabled() && w->window() == scope->window())
            found.append(w);
    return found;
}

template<typename T>
T *MonkeyDriver::pick(const QList<T *> &list)
{
    return list.isEmpty() ? nullptr : list.at(below(int(list.size())));
}

QWidget *MonkeyDriver::keyTarget(QWidget *scope)
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && (focus == scope || scope->isAncestorOf(focus)) && focus->isVisible())
        return focus;
    QList<QWidget *> inputs;
    const QList<QWidget *> all = usable<QWidget>(scope);
    for (QWidget *w : all)
        if (isInput(w))
            inputs.append(w);
    QWidget *chosen = pick(inputs);
    if (!chosen)
        return scope;
    chosen->setFocus(Qt::TabFocusReason);
    return chosen;
}

void MonkeyDriver::pressKey(QWidget *scope)
{
    static const Qt::Key specials[] = {
        Qt::Key_Return, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Escape,
        Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8,
        Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Left,
        Qt::Key_Right, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End, Qt::Key_Delete,
        Qt::Key_Backspace, Qt::Key_Insert, Qt::Key_Space,
    };
    QWidget *target = keyTarget(scope);
    const int roll = below(100);
    if (roll < 50) {
        const QChar c = kCharacters.at(below(int(kCharacters.size())));
        begin(QStringLiteral("key '%1' to %2").arg(c, describe(target)));
        sendKey(target, keyOf(c), QString(c));
    } else if (roll < 90) {
        const Qt::Key key = specials[below(int(std::size(specials)))];
        begin(QStringLiteral("key %1 to %2").arg(QKeySequence(key).toString(), describe(target)));
        sendKey(target, key, key == Qt::Key_Return || key == Qt::Key_Enter ? QStringLiteral("\r") : QString());
    } else {
        // Editing shortcuts and menu mnemonics; never Ctrl+Alt, which holds the hidden reset of
        // the local database.
        static const std::pair<Qt::Key, Qt::KeyboardModifiers> combos[] = {
            {Qt::Key_A, Qt::ControlModifier}, {Qt::Key_C, Qt::ControlModifier}, {Qt::Key_V, Qt::ControlModifier},
            {Qt::Key_X, Qt::ControlModifier}, {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_F4, Qt::ControlModifier},
            {Qt::Key_Return, Qt::ControlModifier}, {Qt::Key_Home, Qt::ShiftModifier},
            {Qt::Key_End, Qt::ShiftModifier}, {Qt::Key_Tab, Qt::ShiftModifier},
            {Qt::Key(Qt::Key_A + below(26)), Qt::AltModifier},
        };
        const auto &[key, modifiers] = combos[below(int(std::size(combos)))];
        begin(QStringLiteral("keys %1 to %2").arg(QKeySequence(key | modifiers).toString(), describe(target)));
        sendKey(target, key, QString(), modifiers);
    }
}

QString MonkeyDriver::randomText(int length)
{
    QString text;
    text.reserve(length);
    while (text.size() < length) {
        if (chance(10))
            text += kTypedTexts.at(below(int(kTypedTexts.size())));
        else if (chance(3))
            text += u'\n';
        else
            text += kCharacters.at(below(int(kCharacters.size())));
    }
    return text;
}

void MonkeyDriver::typeText(QWidget *scope, bool longPaste)
{
    QWidget *target = keyTarget(scope);
    if (longPaste) {
        const QString text = randomText(200 + below(4000));
        begin(QStringLiteral("paste %1 characters into %2").arg(text.size()).arg(describe(target)));
        QGuiApplication::clipboard()->setText(text);
        sendKey(target, Qt::Key_V, QString(), Qt::ControlModifier);
        return;
    }
    const QString text = chance(50) ? kTypedTexts.at(below(int(kTypedTexts.size()))) : randomText(1 + below(14));
    begin(QStringLiteral("type \"%1\" into %2").arg(text, describe(target)));
    QPointer<QWidget> alive(target);
    for (const QChar c : text) {
        if (!alive)
            return;
        if (c == u'\n')
            sendKey(target, Qt::Key_Return, QStringLiteral("\r"));
        else if (c == u'\t')
            sendKey(target, Qt::Key_Tab, QString());
        else
            sendKey(target, keyOf(c), QString(c));
    }
}

void MonkeyDriver::focusInput(QWidget *scope)
{
    QList<QWidget *> inputs;
    const QList<QWidget *> all = usable<QWidget>(scope);
    for (QWidget *w : all)
        if (isInput(w) && !qobject_cast<QComboBox *>(w))
            inputs.append(w);
    QWidget *w = pick(inputs);
    if (!w)
        return pressKey(scope);
    begin(QStringLiteral("click into ") + describe(w));
    if (auto *view = qobject_cast<QAbstractItemView *>(w))
        click(view->viewport(), view->viewport()->rect().center());
    else
        click(w, w->rect().center());
}

void MonkeyDriver::clickButton(QWidget *scope)
{
    QAbstractButton *button = pick(usable<QAbstractButton>(scope));
    // Closing and opening the window again costs more than anything else: close less often.
    if (button && button->text() == QLatin1String("Fechar") && chance(75))
        button = pick(usable<QAbstractButton>(scope));
    if (!button)
        return pressKey(scope);
    begin(QStringLiteral("click ") + describe(button));
    click(button, button->rect().center());
}

void MonkeyDriver::clickGrid(QWidget *scope)
{
    QTableView *grid = pick(usable<QTableView>(scope));
    if (!grid || !grid->model())
        return clickButton(scope);
    const int rows = grid->model()->rowCount(grid->rootIndex());
    const int columns = grid->model()->columnCount(grid->rootIndex());
    if (chance(15) && columns > 0) {
        QHeaderView *header = grid->horizontalHeader();
        const int section = below(columns);
        if (header->isVisible() && !header->isSectionHidden(section)) {
            const int x = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
            begin(QStringLiteral("click title %1 of %2").arg(section).arg(describe(grid)));
            click(header->viewport(), QPoint(x, header->height() / 2));
            return;
        }
    }
    if (rows == 0 || columns == 0) {
        begin(QStringLiteral("click empty ") + describe(grid));
        click(grid->viewport(), grid->viewport()->rect().center());
        return;
    }
    const QModelIndex index = grid->model()->index(below(rows), below(columns), grid->rootIndex());
    grid->scrollTo(index);
    const QPoint pos = grid->visualRect(index).center();
    const bool twice = chance(20);
    begin(QStringLiteral("%1 row %2 column %3 of %4")
              .arg(twice ? QStringLiteral("double-click") : QStringLiteral("click"))
              .arg(index.row())
              .arg(index.column())
              .arg(describe(grid)));
    click(grid->viewport(), pos, twice);
}

void MonkeyDriver::clickTab(QWidget *scope)
{
    QTabBar *bar = pick(usable<QTabBar>(scope));
    if (!bar || bar->count() == 0)
        return useList(scope);
    const int tab = below(bar->count());
    begin(QStringLiteral("click tab \"%1\"").arg(bar->tabText(tab)));
    click(bar, bar->tabRect(tab).center());
}

void MonkeyDriver::useList(QWidget *scope)
{
    QComboBox *list = pick(usable<QComboBox>(scope));
    if (!list)
        return pressKey(scope);
    if (chance(30)) {
        begin(QStringLiteral("open drop-down of ") + describe(list));
        click(list, list->rect().center());
        return;
    }
    static const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
    const Qt::Key key = keys[below(int(std::size(keys)))];
    list->setFocus(Qt::TabFocusReason);
    begin(QStringLiteral("key %1 on list %2").arg(QKeySequence(key).toString(), describe(list)));
    sendKey(list, key, QString());
}
