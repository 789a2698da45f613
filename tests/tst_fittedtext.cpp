#include "Editor.h"
#include "FittedFont.h"
#include "FolderIcon.h"
#include "PackedColour.h"
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
    void initTestCase();
    void widestTextFitsItsBox_data();
    void widestTextFitsItsBox();
    void fittedFontIsTheLargestThatFits_data();
    void fittedFontIsTheLargestThatFits();
    void gridAndFolderIconStaySharp();
};

void TestFittedText::initTestCase() {
    // As a desktop's font setting gives it: the application font, before any window exists.
    if (const double points = qEnvironmentVariable("TPE_TEST_FONT_POINTS").toDouble(); points > 0) {
        QFont font = QApplication::font();
        font.setPointSizeF(points);
        QApplication::setFont(font);
    }
}

void TestFittedText::widestTextFitsItsBox_data() {
    QTest::addColumn<QStringList>("texts");
    QStringList values, classNames;
    for (int value = 0; value <= 255; ++value)
        values << QString::number(value);
    TerrainNames names;
    fillTerrainNames(names);
    classNames = QStringList(names.cbegin() + 1, names.cend());
    for (const char *name : {"t1", "t2", "t3"})
        QTest::newRow(name) << values;
    QTest::newRow("ty") << classNames;
    for (const char *name :
         {"Label1", "Label2", "Label3", "spr", "sav", "ex", "OKButton", "CancelButton"})
        QTest::newRow(name) << QStringList();
}

void TestFittedText::widestTextFitsItsBox() {
    QFETCH(QStringList, texts);
    Editor editor;
    editor.formLoad();
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    QWidget *control = editor.terrain().findChild<QWidget *>(name);
    if (!control)
        control = editor.diaload().findChild<QWidget *>(name);
    QVERIFY(control);
    if (texts.isEmpty())
        texts << control->property("text").toString();

    // The text area each control's style gives, with QLineEdit's two-pixel inner margins and
    // the pixel it keeps for its cursor.
    QRect area = control->contentsRect();
    if (const auto *box = qobject_cast<QLineEdit *>(control)) {
        QStyleOptionFrame option;
        option.initFrom(box);
        option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
        area = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
        area = area.marginsRemoved(box->textMargins()).adjusted(2, 0, -3, 0);
        QVERIFY(!box->isEnabled());
    } else if (const auto *button = qobject_cast<QPushButton *>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    }
    const QFontMetrics metrics(control->font());
    const QFontInfo shown(control->font());
    const QString font =
        QStringLiteral("%1 %2 pt (%3) at scale %4")
            .arg(control->font().family(), QString::number(control->font().pointSizeF()),
                 shown.family(), QString::number(control->devicePixelRatioF()));
    for (const QString &text : texts) {
        const QSize needed(metrics.horizontalAdvance(text), metrics.height());
        QVERIFY2(needed.width() <= area.width() && needed.height() <= area.height(),
                 qPrintable(QStringLiteral("%1: \"%2\" needs %3 x %4 px, has %5 x %6, in %7")
                                .arg(name, text)
                                .arg(needed.width())
                                .arg(needed.height())
                                .arg(area.width())
                                .arg(area.height())
                                .arg(font)));
    }

    // A control keeps its own font where that fits; the class read-out stays bold.
    const QFont natural = name == QLatin1String("ty") ? Terrain(editor.state()).ty->font()
                                                      : QApplication::font(control);
    if (control->font() != natural)
        QVERIFY2(!textsFit(natural, texts, area.size()),
                 qPrintable(name + QLatin1String(": ") + font));
    QVERIFY(QFontInfo(editor.terrain().ty->font()).bold());
}

void TestFittedText::fittedFontIsTheLargestThatFits_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("room");
    QTest::newRow("fits already") << "255" << QSize(200, 40);
    QTest::newRow("too narrow") << "Dirt / Road Close" << QSize(60, 40);
    QTest::newRow("too low") << "Red" << QSize(200, 8);
}

void TestFittedText::fittedFontIsTheLargestThatFits() {
    QFETCH(QString, text);
    QFETCH(QSize, room);
    QFont font = QApplication::font();
    font.setPointSizeF(12);
    const QFont fitted = fittedFont(font, {text}, room);
    QVERIFY(textsFit(fitted, {text}, room));
    QCOMPARE(fitted.family(), font.family());
    if (fitted != font) {
        font.setPointSizeF(fitted.pointSizeF() + 0.25);
        QVERIFY(!textsFit(font, {text}, room));
    }
}

void TestFittedText::gridAndFolderIconStaySharp() {
    // A scaled grid shows only the colours of its picture: no smoothing blends neighbours.
    Editor editor;
    Palette palette{};
    for (int n = firstEntry; n <= lastEntry; ++n)
        palette[n][packedChannel] = packedColour(n - 1, 255 - (n - 1), 0);
    editor.terrain().pic->redrawGrid(palette);
    const QImage shown =
        editor.terrain().pic->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage &picture = editor.terrain().pic->image();
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            colours.insert(picture.pixel(x, y));
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            QVERIFY2(colours.contains(shown.pixel(x, y)),
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));

    // The folder icon at twice the scale is drawn anew, not blown up from 16 pixels.
    const QIcon icon = folderIcon();
    const QImage sharp = icon.pixmap(QSize(16, 16), 2.0).toImage();
    QCOMPARE(sharp.size(), QSize(32, 32));
    const QImage small = icon.pixmap(QSize(16, 16), 1.0).toImage();
    QVERIFY(sharp != small.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QVERIFY(sharp != small.scaled(32, 32));
}

QTEST_MAIN(TestFittedText)
#include "tst_fittedtext.moc"
