#include "Editor.h"
#include "FittedFont.h"
#include "FolderIcon.h"
#include "PaletteExpectations.h"
#include "TerrainClasses.h"

#include <QApplication>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTest>

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
        QTest::addColumn<QStringList>("texts"); // none: the control's own caption
        QStringList values;
        for (int value = 0; value <= 255; ++value)
            values << QString::number(value);
        TerrainNames names;
        fillTerrainNames(names);
        for (const char *name : {"t1", "t2", "t3"})
            QTest::newRow(name) << values;
        QTest::newRow("ty") << QStringList(names.cbegin() + 1, names.cend());
        for (const char *name :
             {"Label1", "Label2", "Label3", "spr", "sav", "ex", "OKButton", "CancelButton"})
            QTest::newRow(name) << QStringList();
    }

    void widestTextFitsItsBox() {
        QFETCH(QStringList, texts);
        Editor editor;
        editor.formLoad();
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        QWidget *control = editor.terrain().findChild<QWidget *>(name);
        control = control ? control : editor.diaload().findChild<QWidget *>(name);
        QVERIFY(control);
        if (texts.isEmpty())
            texts << control->property("text").toString();
        // The text area the control's style gives; a line edit also keeps two pixels on each
        // side and one for its cursor.
        QRect area = control->contentsRect();
        if (const auto *box = qobject_cast<QLineEdit *>(control)) {
            QStyleOptionFrame option;
            option.initFrom(box);
            option.lineWidth =
                box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
            area = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
            area = area.marginsRemoved(box->textMargins()).adjusted(2, 0, -3, 0);
        } else if (const auto *button = qobject_cast<QPushButton *>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        }
        const QFont font = control->font();
        const QString where = QStringLiteral("%1 in %2 (%3) at scale %4")
                                  .arg(name, font.toString(), QFontInfo(font).family())
                                  .arg(control->devicePixelRatioF());
        const QFontMetrics metrics(font);
        for (const QString &text : texts)
            QVERIFY2(metrics.horizontalAdvance(text) <= area.width() &&
                         metrics.height() <= area.height(),
                     qPrintable(QStringLiteral("\"%1\" does not fit %2 x %3 px: %4")
                                    .arg(text)
                                    .arg(area.width())
                                    .arg(area.height())
                                    .arg(where)));
        // A control keeps its own font where that fits; the class read-out stays bold.
        const QFont own = name == QLatin1String("ty") ? Terrain(editor.state()).ty->font()
                                                      : QApplication::font(control);
        QVERIFY2(font == own || !textsFit(own, texts, area.size()), qPrintable(where));
        QVERIFY(QFontInfo(editor.terrain().ty->font()).bold());
    }

    void gridAndFolderIconStaySharp() {
        // A scaled grid shows only the colours of its cells: no smoothing blends neighbours.
        Editor editor;
        PaletteGrid *pic = editor.terrain().pic;
        pic->redrawGrid(distinctPalette());
        QSet<QRgb> colours;
        for (int n = 0; n < 256; ++n)
            colours << pic->image().pixel(n % 16 * 16, n / 16 * 16);
        const QImage shown = pic->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                QVERIFY2(colours.contains(shown.pixel(x, y)), qPrintable(QString::number(x)));
        // The folder icon at twice the scale is drawn anew, not blown up from 16 pixels.
        const QImage sharp = folderIcon().pixmap(QSize(16, 16), 2.0).toImage();
        const QImage small = folderIcon().pixmap(QSize(16, 16), 1.0).toImage();
        QCOMPARE(sharp.size(), QSize(32, 32));
        QVERIFY(sharp != small.scaled(32, 32) &&
                sharp != small.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
};

QTEST_MAIN(TestFittedText)
#include "tst_fittedtext.moc"
