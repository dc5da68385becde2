#include "client/term/FontLoader.h"

#include <QFile>

namespace zel {
namespace {

std::string ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

bool LoadBitmapFonts(TBackDraw& draw, const QString& zelpath, QString* error)
{
    const QString dir = zelpath.endsWith('/') ? zelpath : zelpath + '/';
    TFontFiles files;
    files.table = ReadAll(dir + "Convert.tbl");
    files.ascii = ReadAll(dir + "ZelE00.FNT");
    files.hangul = ReadAll(dir + "ZelH00.FNT");
    files.sbs = ReadAll(dir + "ZelSBS.FNT");
    files.kss = ReadAll(dir + "ZelKSS.FNT");
    std::string reason;
    if (draw.Load(files, &reason))
        return true;
    if (error)
        *error = QString::fromStdString(reason) + " (" + dir + ")";
    return false;
}

} // namespace zel
