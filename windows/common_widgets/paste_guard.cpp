#include "common_widgets/paste_guard.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

namespace kjw {

namespace {

bool isTextControl(const QObject* o)
{
    return qobject_cast<const QPlainTextEdit*>(o) || qobject_cast<const QTextEdit*>(o);
}

// True when the clipboard (or the X selection) holds nothing a paste could insert.
bool nothingToPaste(QClipboard::Mode mode)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(mode);
    return !data || data->formats().isEmpty();
}

class EmptyPasteGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            // The key goes to the text control itself.
            return isTextControl(watched) && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) &&
                   nothingToPaste(QClipboard::Clipboard);
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            // A middle click pastes the X selection; the click goes to the viewport.
            return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton && isTextControl(watched->parent()) &&
                   QGuiApplication::clipboard()->supportsSelection() && nothingToPaste(QClipboard::Selection);
        }
        return false;
    }
};

} // namespace

void guardEmptyPaste()
{
    static QPointer<EmptyPasteGuard> guard; // gone with the application it watched
    QCoreApplication* app = QCoreApplication::instance();
    if (guard || !app) return;
    guard = new EmptyPasteGuard(app);
    app->installEventFilter(guard);
}

} // namespace kjw
