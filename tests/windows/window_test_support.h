#pragma once
// What the window tests share: a working folder of one test's own, which is
// the current folder and the program's working folder while it lives; the
// raw bytes of its files; pressing a button; catching what a window would
// show in its message box; and the names and texts of the boxes the tests
// compare.
#include "common/textfile.h"
#include "common_widgets/form_base.h"
#include "common_widgets/frame_picture.h"
#include "viewers/result_viewer.h"

#include <QAbstractButton>
#include <QByteArray>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

namespace kjtest {

// A fresh folder that the program reads and writes as its working folder
// ("\KJ-1.txt" and "KJ-1.txt" both land in it). The folder that was current
// before is current again, and the folder is removed, when it goes.
class WorkingFolder {
public:
    WorkingFolder() : previous_(QDir::currentPath())
    {
        if (!dir_.isValid()) return;
        QDir::setCurrent(dir_.path());
        kj::setWorkingRoot(dir_.path().toStdString());
    }
    ~WorkingFolder() { QDir::setCurrent(previous_); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

    // False when no folder could be made; the current folder is then unchanged.
    bool isValid() const { return dir_.isValid(); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    // The names of the folder's entries the filters let through.
    QStringList entries(QDir::Filters filters) const { return QDir(dir_.path()).entryList(filters); }
    bool makeFolder(const QString& name) const { return QDir(dir_.path()).mkdir(name); }

    // The whole file as stored, or "<missing>" when it cannot be read.
    QByteArray bytes(const QString& name) const
    {
        QFile f(path(name));
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll();
    }
    // Replaces the file with exactly these bytes.
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private:
    QTemporaryDir dir_;
    QString previous_;
};

// A left click on the button, as the engineer presses it.
inline void press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

// The window's message box adds each text, after the prefix, to `shown`
// instead of waiting for a person.
inline void catchMessages(kjw::FormBase& window, QStringList& shown, const QString& prefix = QString())
{
    window.messageBox = [&shown, prefix](const QString& text) { shown << prefix + text; };
}

// The items of a value list or file slot, in order.
inline QStringList itemsOf(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

// The box names Text<first> to Text<last>.
inline QStringList range(int first, int last)
{
    QStringList names;
    for (int i = first; i <= last; ++i) names << QStringLiteral("Text%1").arg(i);
    return names;
}

inline QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

// The names of the shown widgets among the lists (boxes, pictures), sorted.
template <class... Lists>
QStringList shownNames(const Lists&... lists)
{
    QStringList names;
    const auto add = [&names](const auto& list) {
        for (const QWidget* w : list)
            if (w->isVisible()) names << w->objectName();
    };
    (add(lists), ...);
    names.sort();
    return names;
}

// A result viewer's shown sketch boxes and frame pictures, sorted by name.
inline QStringList visibleSketch(const ResultViewer& viewer)
{
    return shownNames(viewer.sketchBoxes(), viewer.findChildren<kjw::FramePicture*>());
}

// Types the frame shape into a result viewer: spans L, storeys NF.
inline void typeShape(ResultViewer& viewer, const char* spans, const char* storeys)
{
    viewer.Text37->setText(QLatin1String(spans));
    viewer.Text38->setText(QLatin1String(storeys));
}

// Whether a line box shows its whole text from the start: its picture equals,
// up to its right border, that of a like box wide enough for any text, and
// the wide box draws nothing beyond that point. Focus must lie elsewhere.
inline bool showsWholeText(QLineEdit* box)
{
    QLineEdit wide;
    wide.setFont(box->font());
    wide.setStyleSheet(box->styleSheet());
    wide.setTextMargins(box->textMargins());
    wide.resize(box->width() + 600, box->height());
    wide.setText(box->text());
    wide.setCursorPosition(0);
    const QImage narrow = box->grab().toImage();
    const QImage whole = wide.grab().toImage();
    const double ratio = narrow.devicePixelRatio();
    // The right border and the padding inside it are the box's own.
    const int edge = narrow.width() - int(5 * ratio);
    const int top = int(3 * ratio), bottom = narrow.height() - int(3 * ratio);
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < edge; ++x)
            if (narrow.pixel(x, y) != whole.pixel(x, y)) return false;
    const QRgb paper = whole.pixel(whole.width() - int(8 * ratio), narrow.height() / 2);
    for (int y = top; y < bottom; ++y)
        for (int x = edge; x < whole.width() - int(8 * ratio); ++x)
            if (whole.pixel(x, y) != paper) return false;
    return true;
}

} // namespace kjtest
