#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QtEndian>

#include <cstdlib>

#include "QtTestApp.h"
#include "client/engine/StoneSound.h"
#include "core/engine/PaintGeometry.h"

namespace zel {
namespace {

class PaintBoxAssetsTest : public ::testing::Test {
protected:
    PaintBoxAssetsTest() { test::App(); }
};

// Mean difference of two pixel lines of an image, columns when `vertical`.
double LineDistance(const QImage& img, int a, int b, bool vertical)
{
    const int n = vertical ? img.height() : img.width();
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const QRgb p = vertical ? img.pixel(a, i) : img.pixel(i, a);
        const QRgb q = vertical ? img.pixel(b, i) : img.pixel(i, b);
        sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
    return sum / n;
}

TEST_F(PaintBoxAssetsTest, WoodTilesWithoutVisibleSeams)
{
    const QImage wood(":/board/board.bmp");
    ASSERT_EQ(wood.size(), QSize(65, 243));
    // Across a tile edge the wood changes no more than between neighbours
    // inside the tile.
    auto largestStep = [&](int lines, bool vertical) {
        double largest = 0;
        for (int i = 0; i + 1 < lines; ++i)
            largest = std::max(largest, LineDistance(wood, i, i + 1, vertical));
        return largest;
    };
    EXPECT_LE(LineDistance(wood, 64, 0, true), largestStep(65, true));
    EXPECT_LE(LineDistance(wood, 242, 0, false), largestStep(243, false));
}

TEST_F(PaintBoxAssetsTest, SpriteSheetsHoldEveryCellSize)
{
    const QImage mask(":/board/stonemask.bmp");
    const QImage black(":/board/blackstone.bmp");
    const QImage white(":/board/whitestone.bmp");
    for (const QImage* sheet : {&mask, &black, &white})
        ASSERT_EQ(sheet->size(), QSize(TPaintGeometry::kSpriteSheetWidth, TPaintGeometry::kSpriteSheetHeight));
    for (int cell = 10; cell <= 39; ++cell) {
        const TPixelRect r = TPaintGeometry::SpriteSourceFor(cell);
        const int c = r.Side / 2;
        EXPECT_EQ(qGray(mask.pixel(r.Left + c, r.Top + c)), 0) << cell;
        EXPECT_EQ(qGray(mask.pixel(r.Left, r.Top)), 255) << "corner of " << cell;
        EXPECT_LT(qGray(black.pixel(r.Left + c, r.Top + c)), 60) << cell;
        EXPECT_GT(qGray(white.pixel(r.Left + c, r.Top + c)), 190) << cell;
        // Right of the square the sheet is blank: no neighbour bleeds in.
        if (r.Left + r.Side < mask.width()) {
            EXPECT_EQ(qGray(mask.pixel(r.Left + r.Side, r.Top + c)), 255) << cell;
        }
    }
    // A stone never adds more light than the mask lets through (mask AND,
    // stone OR then equals blending by coverage).
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const int open = qGray(mask.pixel(x, y));
            for (const QImage* stone : {&black, &white}) {
                const QRgb p = stone->pixel(x, y);
                ASSERT_LE(std::max({qRed(p), qGreen(p), qBlue(p)}), 255 - open + 1) << x << "," << y;
            }
        }
    }
}

TEST_F(PaintBoxAssetsTest, StoneSoundIsAShortClick)
{
    QFile file(":/board/stone.wav");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray wav = file.readAll();
    ASSERT_GT(wav.size(), 44);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    const auto* bytes = reinterpret_cast<const uchar*>(wav.constData());
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes + 20), 1); // PCM
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes + 22), 1); // mono
    const quint32 rate = qFromLittleEndian<quint32>(bytes + 24);
    const quint32 data = qFromLittleEndian<quint32>(bytes + 40);
    ASSERT_EQ(static_cast<qsizetype>(data) + 44, wav.size());
    const double ms = 1000.0 * data / 2 / rate;
    EXPECT_GT(ms, 40);
    EXPECT_LT(ms, 250);
    // Loud at the knock, faded out at the end.
    int peak = 0;
    int tail = 0;
    const int count = static_cast<int>(data / 2);
    for (int i = 0; i < count; ++i) {
        const int s = std::abs(qFromLittleEndian<qint16>(bytes + 44 + 2 * i));
        peak = std::max(peak, s);
        if (i > count * 9 / 10)
            tail = std::max(tail, s);
    }
    EXPECT_GT(peak, 20000);
    EXPECT_LT(tail, peak / 20);
}

TEST_F(PaintBoxAssetsTest, StoneSoundIsHarmlessWithoutAudio)
{
    TStoneSound sound(QStringLiteral("/nonexistent/voice"));
    Sound& port = sound;
    port.PlayStone();
    port.PlayStone();
    // Words whose files are missing, and one out of range, are skipped.
    port.Speak(TSpokenWord::kTen);
    port.Speak(TSpokenWord::kLastPeriod);
    port.Speak(static_cast<TSpokenWord>(0));
    EXPECT_EQ(TStoneSound::VoiceFile(TSpokenWord::kTen), "count10.wav");
    EXPECT_EQ(TStoneSound::VoiceFile(TSpokenWord::kLastPeriod), "lastperiod.wav");
    QTest::qWait(20);
    SUCCEED();
}

} // namespace
} // namespace zel
