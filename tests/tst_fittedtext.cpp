#include "Editor.h"
#include "FittedFont.h"
#include "FolderIcon.h"
#include "LoadedEditor.h"
#include "PaletteExpectations.h"
#include "TerrainClasses.h"

#include <QApplication>
#include <QStyleOption>
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
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("group"); // the controls that share its font
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
        QString where;
        QDebug(&where) << name << area.size() << font << QFontInfo(font).family() << "at scale"
                       << control->devicePixelRatioF() << "cuts";
        const QFontMetrics metrics(font);
        QVERIFY2(metrics.height() <= area.height(), qPrintable(where));
        for (const QString &text : texts)
            QVERIFY2(metrics.horizontalAdvance(text) <= area.width(), qPrintable(where + text));

        // Controls of one kind side by side show one font, fitted to the texts of them all.
        QStringList groupTexts = texts;
        for (const QString &member : group) {
            const QWidget *other = control->window()->findChild<QWidget *>(member);
            QVERIFY2(other && other->font() == font, qPrintable(name + " vs " + member));
            if (!qobject_cast<const QLineEdit *>(other))
                groupTexts << other->property("text").toString();
        }
        // A control keeps its own font where that fits with a pixel to spare on each side; the
        // class read-out stays bold.
        const QFont own = name == QLatin1String("ty") ? Terrain(editor.state()).ty->font()
                                                      : QApplication::font(control);
        const QSize clearArea(area.width() - 2, area.height());
        QVERIFY2(font == own || !textsFit(own, groupTexts, clearArea),
                 qPrintable(where + "nothing in its own font"));
        QVERIFY(QFontInfo(editor.terrain().ty->font()).bold());

        // As drawn, the outermost device-pixel columns of the inside (the run of the centre's
        // colour along the middle row, up to a frame or the edge) stay clear of ink.
        control->setProperty("text", QString());
        const QImage blank = control->grab().toImage();
        const int y = blank.height() / 2;
        int left = blank.width() / 2;
        int right = left;
        const QRgb inside = blank.pixel(left, y);
        while (left > 0 && blank.pixel(left - 1, y) == inside)
            --left;
        while (right + 1 < blank.width() && blank.pixel(right + 1, y) == inside)
            ++right;
        for (const QString &text : texts) {
            control->setProperty("text", text);
            const QImage shown = control->grab().toImage();
            bool clear = true;
            for (int row = 0; row < shown.height(); ++row)
                clear = clear && shown.pixel(left, row) == blank.pixel(left, row) &&
                        shown.pixel(right, row) == blank.pixel(right, row);
            QVERIFY2(clear, qPrintable(where + text + " at the edge"));
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
