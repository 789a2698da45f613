#include "Editor.h"
#include "FittedFont.h"
#include "FolderIcon.h"
#include "LoadedEditor.h"
#include "PaletteExpectations.h"
#include "TerrainClasses.h"

#include <QApplication>
#include <QStyleOption>
#include <QTest>

#include <algorithm>
#include <utility>

namespace {

// The first and last column, in device pixels, in which a control showing a text differs from the
// same control showing none: the ink of the text, its anti-aliased edges included.
std::pair<int, int> inkColumns(const QImage &shown, const QImage &blank) {
    int first = shown.width();
    int last = -1;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) != blank.pixel(x, y)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

// The outermost columns of the control's inside on its middle row: from the centre outwards, as
// far as the colour stays that of the centre. A frame or bevel ends it; a label reaches its edge.
std::pair<int, int> insideColumns(const QImage &blank) {
    const int y = blank.height() / 2;
    const QRgb inside = blank.pixel(blank.width() / 2, y);
    int left = blank.width() / 2;
    while (left > 0 && blank.pixel(left - 1, y) == inside)
        --left;
    int right = blank.width() / 2;
    while (right + 1 < blank.width() && blank.pixel(right + 1, y) == inside)
        ++right;
    return {left, right};
}

QImage shownWith(QWidget *control, const QString &text) {
    control->setProperty("text", text);
    return control->grab().toImage();
}

} // namespace

// Every caption and read-out shows whole at the desktop font and scale this run was started with:
// tests/CMakeLists.txt runs this file once for each application font and scale.
class TestFittedText : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // As a desktop's font setting gives it: the application font, before any window exists.
        if (const double points = qEnvironmentVariable("TPE_TEST_FONT_POINTS").toDouble()) {
            QFont font = QApplication::font();
            font.setPointSizeF(points);
            QApplication::setFont(font);
        }
    }

    void widestTextFitsItsBox_data() {
        QTest::addColumn<QString>("name");
        // The controls of its kind that must show the same font as it.
        QTest::addColumn<QStringList>("group");
        const QList<QStringList> groups{{"t1", "t2", "t3"},
                                        {"ty"},
                                        {"Label1", "Label2", "Label3"},
                                        {"spr", "sav", "ex"},
                                        {"OKButton", "CancelButton"}};
        for (const QStringList &group : groups)
            for (const QString &name : group)
                QTest::newRow(qPrintable(name)) << name << group;
    }

    void widestTextFitsItsBox() {
        QFETCH(QString, name);
        QFETCH(QStringList, group);
        LoadedEditor loaded;
        QVERIFY(loaded.load(fileBytes(distinctPalette())));
        Editor &editor = loaded.editor;
        QWidget *control = editor.terrain().findChild<QWidget *>(name);
        control = control ? control : editor.diaload().findChild<QWidget *>(name);
        QVERIFY(control);
        // Every text the control will show: each class name, each channel value, or its caption.
        const TerrainNames &names = editor.state().terrainNames;
        QStringList texts{control->property("text").toString()};
        if (name == QLatin1String("ty"))
            texts = QStringList(names.cbegin() + 1, names.cend());
        else if (qobject_cast<QLineEdit *>(control))
            for (int value = 0; value <= 255; ++value)
                texts << QString::number(value);
        // The text area the control's style gives; a line edit also keeps two pixels on each
        // side and one for its cursor.
        QStyle *style = control->style();
        QRect area = control->contentsRect();
        if (const auto *box = qobject_cast<QLineEdit *>(control)) {
            QStyleOptionFrame option;
            option.initFrom(box);
            option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
            area = style->subElementRect(QStyle::SE_LineEditContents, &option, box);
            area = area.marginsRemoved(box->textMargins()).adjusted(2, 0, -3, 0);
        } else if (qobject_cast<QPushButton *>(control)) {
            QStyleOptionButton option;
            option.initFrom(control);
            area = style->subElementRect(QStyle::SE_PushButtonContents, &option, control);
        }
        const QFont font = control->font();
        const double scale = control->devicePixelRatioF();
        QString where;
        QDebug(&where) << name << area.size() << font << QFontInfo(font).family() << "at scale"
                       << scale;
        const QFontMetrics metrics(font);
        QVERIFY2(metrics.height() <= area.height(), qPrintable(where + " cuts"));
        for (const QString &text : texts)
            QVERIFY2(metrics.horizontalAdvance(text) <= area.width(),
                     qPrintable(where + " cuts " + text));

        // Controls of one kind side by side show one font, fitted to the texts of them all.
        QStringList groupTexts = texts;
        for (const QString &member : group) {
            const QWidget *other = control->window()->findChild<QWidget *>(member);
            QVERIFY2(other && other->font() == font, qPrintable(where + " differs from " + member));
            if (!qobject_cast<const QLineEdit *>(other))
                groupTexts << other->property("text").toString();
        }
        // A control keeps its own font where that fits with a pixel to spare on each side; the
        // class read-out stays bold.
        const QFont own = name == QLatin1String("ty") ? Terrain(editor.state()).ty->font()
                                                      : QApplication::font(control);
        const QSize clearArea(area.width() - 2, area.height());
        QVERIFY2(font == own || !textsFit(own, groupTexts, clearArea),
                 qPrintable(where + " nothing in its own font"));
        QVERIFY(QFontInfo(editor.terrain().ty->font()).bold());

        // As drawn: one device pixel clear of ink between each text and the frame, or the edge
        // of a control without one, on either side.
        const QImage blank = shownWith(control, QString());
        const auto [left, right] = insideColumns(blank);
        for (const QString &text : texts) {
            const auto [first, last] = inkColumns(shownWith(control, text), blank);
            QVERIFY2(
                left < first && first <= last && last < right,
                qPrintable(where + QString::asprintf(" draws %s in columns %d..%d of %d..%d",
                                                     qPrintable(text), first, last, left, right)));
        }
    }

    void gridAndFolderIconStaySharp() {
        // A scaled grid shows its 256 colours and no others: no smoothing blends neighbours.
        Editor editor;
        PaletteGrid *pic = editor.terrain().pic;
        pic->redrawGrid(distinctPalette());
        const QImage shown = pic->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const auto *pixels = reinterpret_cast<const QRgb *>(shown.constBits());
        QCOMPARE(QSet<QRgb>(pixels, pixels + shown.sizeInBytes() / 4).size(), 256);
        // The folder icon at twice the scale is drawn anew, not blown up from 16 pixels.
        const QImage sharp = folderIcon().pixmap(QSize(16, 16), 2.0).toImage();
        const QImage small = folderIcon().pixmap(QSize(16, 16), 1.0).toImage();
        QVERIFY(sharp.size() == QSize(32, 32) && sharp != small.scaled(32, 32) &&
                sharp != small.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
};

QTEST_MAIN(TestFittedText)
#include "tst_fittedtext.moc"
