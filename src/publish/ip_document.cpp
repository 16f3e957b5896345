// ip.html: the address and the moment of writing, in four CR LF lines.

#include "app/main_window_model.h"
#include "schedule/sleep_request.h"

namespace somnar {

// The program's folder where the user may write there (a copy in a home folder),
// otherwise the user's data folder for this program (an installed copy).
std::string MainWindow::documentFolder() {
    Files& files = services_.files;
    const std::string programFolder = services_.program.programFolder();
    if (files.folderWritable(programFolder)) {
        return programFolder;
    }
    return files.dataFolder();
}

std::string MainWindow::documentPath(const std::string& name) {
    std::string folder = documentFolder();
    if (folder.empty()) {
        return {};
    }
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder + name;
}

bool MainWindow::writeIpDocument() {
    const std::string crlf = "\r\n";
    Clock& clock = services_.clock;
    const std::string document =
        "<HTML>" + crlf + "<CENTER> Meine IP-Adresse lautet: " + ipAddressLine.caption() + crlf +
        "<CENTER> Rechner wurde gestartet: " + clock.generalDateTimeText(clock.now()) + crlf +
        "</CENTER></HTML>" + crlf;
    const std::string path = documentPath("ip.html");
    if (!path.empty() && services_.files.writeSingleByteText(path, document)) {
        return true;
    }
    const std::string text = "Die Datei ip.html konnte nicht geschrieben werden" +
                             (path.empty() ? std::string(".") : " (" + path + ").") +
                             " Die IP-Adresse wird deshalb nicht per FTP übertragen.";
    ftpStatus.setCaption("ip.html nicht geschrieben");
    reportProblem(text);
    showWarning(text);
    return false;
}

}  // namespace somnar
