#include "common_widgets/form_base.h"

#include "common_widgets/blank_wrap_label.h"
#include "common_widgets/frame_picture.h"
#include "common_widgets/paste_guard.h"
#include "common_widgets/twips.h"
#include "common/failure.h"
#include "shared/pane_text.h"
#include "templates/frame_templates.h"

#include <QInputDialog>
#include <QMessageBox>

#include <exception>

namespace kjw {

std::string fromBox(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text.toStdString();
}

QString toPane(const std::string& text)
{
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

std::string boxText(const QWidget* box)
{
    if (auto* line = qobject_cast<const QLineEdit*>(box)) return fromBox(line->text());
    if (auto* edit = qobject_cast<const QPlainTextEdit*>(box)) return fromBox(edit->toPlainText());
    if (auto* combo = qobject_cast<const QComboBox*>(box)) return fromBox(combo->currentText());
    return {};
}

void setBoxText(QWidget* box, const std::string& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(box)) line->setText(toPane(text));
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(box)) edit->setPlainText(toPane(text));
    else if (auto* combo = qobject_cast<QComboBox*>(box)) combo->setEditText(toPane(text));
}

FormBase::FormBase(QWidget* parent) : QWidget(parent)
{
    guardEmptyPaste(); // every window's text boxes, and those of its dialogs
    inputBox = [this](const QString& prompt, const QString& title, const QString& answer, std::optional<QPoint> at) {
        QInputDialog dialog(this);
        dialog.setWindowTitle(title.isEmpty() ? windowTitle() : title);
        dialog.setLabelText(prompt);
        dialog.setInputMode(QInputDialog::TextInput);
        dialog.setTextValue(answer);
        dialog.setOkButtonText(QStringLiteral("确定"));
        dialog.setCancelButtonText(QStringLiteral("取消"));
        if (at) dialog.move(*at);
        return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
    };
    messageBox = [this](const QString& text) {
        QMessageBox box(QMessageBox::Information, windowTitle(), text, QMessageBox::Ok, this);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
        box.exec();
    };
}

QComboBox* FormBase::list(const char* name, int left, int top, int width)
{
    auto* combo = new QComboBox(this);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert); // typing never adds to the list
    combo->setCompleter(nullptr);                // a name is used exactly as typed
    combo->setGeometry(twipsRect(left, top, width, kListHeight));
    return combo;
}

QLineEdit* FormBase::lineBox(const char* name, int left, int top, int width)
{
    auto* box = new QLineEdit(this);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(twipsRect(left, top, width, kBoxHeight));
    box->setTextMargins(0, 0, 0, 0);
    box->setStyleSheet(QStringLiteral("QLineEdit { padding: 0px 1px; }"));
    return box;
}

QPlainTextEdit* FormBase::lineHighPane(const char* name, int left, int top, int width)
{
    auto* box = new QPlainTextEdit(this);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(twipsRect(left, top, width, kBoxHeight));
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setTabChangesFocus(true);
    box->document()->setDocumentMargin(1);
    return box;
}

QPlainTextEdit* FormBase::pane(const char* name, int left, int top, int width, int height)
{
    auto* box = new QPlainTextEdit(this);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(twipsRect(left, top, width, height));
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    return box;
}

QPushButton* FormBase::makeButton(const char* name, const QString& caption, int left, int top, int width, int height)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(twipsRect(left, top, width, height));
    b->setAutoDefault(false);
    return b;
}

QLabel* FormBase::label(const char* name, const QString& text, int left, int top, int width, int height,
                        Qt::Alignment align)
{
    auto* l = new BlankWrapLabel(text, this);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(twipsRect(left, top, width, height));
    l->setAlignment(align);
    return l;
}

void FormBase::fillList(QComboBox* combo, const QStringList& items, const QString& text)
{
    combo->addItems(items);
    const int at = combo->findText(text);
    if (at >= 0) combo->setCurrentIndex(at);
    combo->setEditText(text);
}

void FormBase::reportFailure(const QString& operation, const std::string& message)
{
    messageBox(operation + QStringLiteral("未完成:\n") + QString::fromStdString(message));
}

void FormBase::attempt(const QString& operation, const std::function<void()>& run)
{
    try {
        run();
    } catch (const std::exception& e) { // kj::Failure carries the Chinese message
        reportFailure(operation, kj::failureText(e));
    }
}

void FormBase::importPane(const QString& operation, const QComboBox* slot, QPlainTextEdit* pane)
{
    attempt(operation, [&] { pane->setPlainText(toPane(kj::importPaneText(boxText(slot)))); });
}

void FormBase::savePane(const QString& operation, const QComboBox* slot, const QPlainTextEdit* pane)
{
    attempt(operation, [&] { kj::savePaneText(boxText(slot), boxText(pane)); });
}

std::array<FramePicture*, 6> FormBase::framePictures(const FrameGeometry& geometry, int left, int top, int width,
                                                     int height)
{
    std::array<FramePicture*, 6> pictures{};
    static_assert(pictures.size() == kj::kFrameTemplateCount);
    for (int i = 0; i < kj::kFrameTemplateCount; ++i) {
        const kj::FrameTemplate& t = kj::frameTemplates()[static_cast<std::size_t>(i)];
        auto* p = new FramePicture(t.spans, t.storeys, geometry, this);
        p->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        p->setGeometry(twipsRect(left, top, width, height));
        p->hide();
        pictures[static_cast<std::size_t>(i)] = p;
    }
    return pictures;
}

} // namespace kjw
