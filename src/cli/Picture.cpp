#include "cli/Picture.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string_view>

#include "analysis/Diagnostics.h"
#include "analysis/ProfileMatrix.h"
#include "base/MessageText.h"
#include "base/NumberText.h"
#include "canvas/DiagramFit.h"
#include "canvas/WmfPainter.h"
#include "model/AtomicFile.h"
#include "model/MKPSpace.h"
#include "model/UserDialogs.h"

#ifdef KORVAN_WITH_QT
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include "render/CanvasPicture.h"
#endif

const char* const KPictureUsage =
    "  --picture SOUBOR  obrázek plátna (.wmf, .svg, .pdf, .png) po zobrazení všeho\n"
    "  --mode model|T|N|M|def  zobrazení obrázku (výchozí model)\n"
    "  --size ŠxV        velikost plátna v pixelech (výchozí 765x520)\n"
    "  --numbers         čísla prutů a uzlů\n"
    "  --reactions       reakce\n"
    "  --fit             měřítko průběhů přizpůsobené obrázku (i s popisy)\n";

namespace {
bool ParseSize(const std::string& text, int& w, int& h) {
    const auto x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    int a = 0, b = 0;
    if (!TryStrToInt(text.substr(0, x), a) || !TryStrToInt(text.substr(x + 1), b)) return false;
    // Beyond 16000 pixels a side the metafile's 16-bit coordinates and the image memory give out.
    if (a < 1 || b < 1 || a > 16000 || b > 16000) return false;
    w = a;
    h = b;
    return true;
}

// The picture reaches the disk only whole, through the atomic writer: a failed write leaves the
// previous file as it was and is reported.
bool WriteBytes(const std::string& target, std::string_view bytes, std::ostream& err) {
    try {
        WriteFileAtomically(target, bytes);
        return true;
    } catch (const std::exception& e) {
        err << ErrorText(e) << "\n";
        return false;
    }
}

#ifdef KORVAN_WITH_QT
// The Qt painter needs an application object; the calculator makes one on the offscreen
// platform, only when a picture needs Qt.
void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "korvan-calc";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
    std::setlocale(LC_NUMERIC, "C");
}

// Paints into memory; the bytes then go through the atomic writer like every other file.
bool PaintWithQt(TMKPSpace& space, const std::string& format, QByteArray& bytes) {
    EnsureGuiApplication();
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return false;
    bool ok = false;
    if (format == "png") {
        // An empty size is refused rather than drawn as a single pixel.
        ok = space.Width > 0 && space.Height > 0 && CanvasImage(space).save(&buffer, "PNG");
    } else if (format == "svg") {
        const QByteArray svg = CanvasSvg(space);
        ok = !svg.isEmpty() && buffer.write(svg) == svg.size();
    } else if (format == "pdf") {
        const QByteArray pdf = CanvasPdf(space);
        ok = !pdf.isEmpty() && buffer.write(pdf) == pdf.size();
    }
    buffer.close();
    return ok && !bytes.isEmpty();
}
#endif
} // namespace

std::string PictureFormat(const std::string& fileName) {
    std::string ext = std::filesystem::path(fileName).extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".wmf" || ext == ".svg" || ext == ".pdf" || ext == ".png") return ext.substr(1);
    return "";
}

bool TakePictureOption(const std::vector<std::string>& args, std::size_t& i, TPictureOptions& o,
                       std::string& error) {
    const std::string& a = args[i];
    const bool takesValue = a == "--picture" || a == "--mode" || a == "--size";
    if (!takesValue && a != "--numbers" && a != "--reactions" && a != "--fit") return false;
    if (a == "--fit") {
        o.Fit = true;
        return true;
    }
    if (a == "--numbers") {
        o.Numbers = true;
        return true;
    }
    if (a == "--reactions") {
        o.Reactions = true;
        return true;
    }
    if (i + 1 >= args.size()) {
        error = "Chybí hodnota volby " + a;
        return true;
    }
    const std::string& v = args[++i];
    if (a == "--picture") {
        o.Requested = true;
        o.File = v;
        if (PictureFormat(v).empty()) error = "Neznámý typ obrázku: " + v;
    } else if (a == "--mode") {
        static const char* const modes[] = {"model", "T", "N", "M", "def"};
        bool found = false;
        for (std::uint8_t m = 0; m < 5; ++m)
            if (v == modes[m]) {
                o.Mode = m;
                found = true;
            }
        if (!found) error = "Neznámé zobrazení: " + v;
    } else if (!ParseSize(v, o.Width, o.Height)) {
        error = "Neplatná velikost: " + v;
    }
    return true;
}

int WritePicture(TMKPSpace& space, const TPictureOptions& o, std::ostream& out, std::ostream& err) {
    const std::string format = PictureFormat(o.File);
    if (format.empty()) {
        err << "Neznámý typ obrázku: " << o.File << "\n";
        return 2;
    }
    if (o.Mode != 0 && !space.ResultsValid) {
        // Results are drawn from a successful computation only; a refused structure names the
        // reason through the message sink and gets no picture. A picture writes no trace files.
        TRecordingDialogs messages;
        TDialogsGuard guard(messages);
        const bool trace = space.TraceEnabled;
        space.TraceEnabled = false;
        const TSolveStatus status = space.Vypocet();
        space.TraceEnabled = trace;
        if (status.Result != TMKPSpace::TSolveResult::Ok) {
            for (const std::string& m : messages.Messages)
                err << m << "\n";
            const std::string place = PopisMista(MistoOdmitnuti(status));
            if (!place.empty()) err << place << "\n";
            err << "Výsledky nelze zobrazit: výpočet neproběhl.\n";
            return 1;
        }
    }
    space.Width = o.Width;
    space.Height = o.Height;
    space.ShowNumbers = o.Numbers;
    space.SetShowReactions(o.Reactions);
    space.SetTypZobrazeni(o.Mode);
    space.ShowAll();
    if (o.Fit) PrizpusobMeritko(space);
    bool ok = false;
    if (format == "wmf") {
        const std::vector<std::uint8_t> bytes = WmfPicture(space);
        ok = WriteBytes(o.File, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), err);
    } else {
#ifdef KORVAN_WITH_QT
        QByteArray bytes;
        if (!PaintWithQt(space, format, bytes)) {
            err << "Obrázek " << o.File << " nelze vykreslit.\n";
            return 2;
        }
        ok = WriteBytes(o.File, std::string_view(bytes.constData(), std::size_t(bytes.size())), err);
#else
        err << "Obrázky " << format << " vyžadují sestavení s Qt.\n";
        return 2;
#endif
    }
    if (!ok) {
        err << "Nelze zapsat soubor: " << o.File << "\n";
        return 2;
    }
    out << "Obrázek: " << o.File << "\n";
    return 0;
}
