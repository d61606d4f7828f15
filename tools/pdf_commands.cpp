#include "tools/pdf_commands.h"

#include "print/note_pdf.h"
#include "storage/c_node.h"
#include "storage/tamix_error.h"

#include <QGuiApplication>
#include <QPageSize>
#include <filesystem>
#include <iostream>
#include <memory>

namespace tamix::tool {
namespace {

// The application the document, fonts and PDF writer need, on the offscreen
// platform whatever the environment names.
std::unique_ptr<QGuiApplication> makeApplication() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tamix-tool";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

int printNote(const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    QPageSize size(QPageSize::A4);
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--page-size") {
            positional.push_back(args[i]);
            continue;
        }
        if (i + 1 == args.size()) throw UsageError("--page-size needs A4 or Letter");
        const std::string& name = args[++i];
        if (name == "A4") size = QPageSize(QPageSize::A4);
        else if (name == "Letter") size = QPageSize(QPageSize::Letter);
        else throw UsageError("unknown page size " + name + " (A4 or Letter)");
    }
    if (positional.size() != 3) throw UsageError("expected FILE KEY OUT.pdf");
    const std::string &file = positional[0], &key = positional[1], &out = positional[2];
    if (!std::filesystem::exists(file)) throw TamixError(kErrFileNotFound, "There is no database " + file);
    std::string body;
    {
        cNode node;
        node.OpenFile(file);
        if (!node.FindKey(key)) throw TamixError(kErrInvalidCall, "No note has the key " + key);
        body = node.RTFData();
    }
    const auto app = makeApplication();
    const int pages = NotePdf::write(body, QString::fromStdString(out), size);
    std::cout << pages << "\n";
    return kExitOk;
}

}  // namespace tamix::tool
