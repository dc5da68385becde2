#pragma once
// A small record file on disk for the windows that open records.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include "core/engine/GoBoard.h"
#include "core/record/RecordHeader.h"

namespace zel::test {

// Writes kim and lee's game of two moves as `dir`/20261207kimlee.zel (the
// directory is made when missing); its path, or empty when it cannot be written.
inline QString WriteTwoMoveRecord(const QString& dir)
{
    TGoBoard board;
    board.PlayAt(16, 4);
    board.PlayAt(4, 16);
    TRecordHeader h;
    h.Black = "kim(kim) 3d";
    h.White = "lee(lee) 2d";
    h.DateLine = "2026-12-07 21:30";
    QDir().mkpath(dir);
    QFile file(dir + "/20261207kimlee.zel");
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(QByteArray::fromStdString(RecordHeaderLine(h) + "\r\n" + board.RecordLinesText()));
    return file.fileName();
}

} // namespace zel::test
