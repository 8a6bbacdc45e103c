#include "python/PictureBytes.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <mutex>

#include "app/Session.h"
#include "draw/RunError.h"
#include "render/PictureRenderer.h"
#include "render/PngWriter.h"

namespace {

// Text needs a GUI application. Made on first use and kept to the end of the process: a
// QGuiApplication torn down while the interpreter exits takes its fonts with it mid-use.
void NeedApp() {
    static std::once_flag once;
    std::call_once(once, [] { new OffscreenApp(); });
}

std::string ReadBack(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw RunError("Cannot read back " + path.toStdString());
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

int PictureBytes::Width() const { return std::max(1, static_cast<int>(std::lround(picture_.Width / render::TwipsPerPixel))); }
int PictureBytes::Height() const { return std::max(1, static_cast<int>(std::lround(picture_.Height / render::TwipsPerPixel))); }

// The writers write files; going through one keeps every byte theirs.
std::string PictureBytes::Saved(const char* suffix, double scale) const {
    NeedApp();
    if (!(scale > 0 && scale <= 16)) throw RunError("scale takes a number from 0 to 16");
    QTemporaryDir dir;
    if (!dir.isValid()) throw RunError("Cannot make a temporary folder for the picture");
    const QString path = dir.filePath(QStringLiteral("picture.") + QLatin1String(suffix));
    const QString error = render::Save(picture_, path, scale, Marked());
    if (!error.isEmpty()) throw RunError(error.toStdString());
    return ReadBack(path);
}

std::string PictureBytes::Png(double scale) const { return Saved("png", scale); }
std::string PictureBytes::Svg(double scale) const { return Saved("svg", scale); }
std::string PictureBytes::Pdf() const { return Saved("pdf", 1.0); }

std::string PictureBytes::PngSized(int w, int h) const {
    NeedApp();
    if (w < 1 || h < 1 || w > 20000 || h > 20000) throw RunError("size takes a width and a height from 1 to 20000 pixels");
    const double pxPerTwip = std::min(w / static_cast<double>(picture_.Width), h / static_cast<double>(picture_.Height));
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(render::ToQColor(picture_.BackColor));
    QPainter painter(&image);
    // Pens keep a least width, so at small sizes a stroke would spill into the margins.
    const QRectF area((w - picture_.Width * pxPerTwip) / 2, (h - picture_.Height * pxPerTwip) / 2,
                      picture_.Width * pxPerTwip, picture_.Height * pxPerTwip);
    painter.setClipRect(area);
    painter.translate(area.topLeft());
    render::Paint(painter, picture_, pxPerTwip, Marked());
    painter.end();
    render::ClearUpperVectorState();
    QTemporaryDir dir;
    if (!dir.isValid()) throw RunError("Cannot make a temporary folder for the picture");
    const QString path = dir.filePath(QStringLiteral("picture.png"));
    const QString error = render::WritePng(image, path);
    if (!error.isEmpty()) throw RunError(error.toStdString());
    return ReadBack(path);
}
