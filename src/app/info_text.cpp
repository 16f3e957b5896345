#include "app/info_text.h"

namespace somnar {

std::vector<std::string> infoParagraphs(const std::string& programName,
                                        const std::string& executableExtension) {
    const std::string crlf = "\r\n";
    return {
        std::string("Das Programm versetzt den Rechner zu einer gewünschten Zeit (oder auch "
                    "sofort) in den Ruhe- oder Standbyzustand und weckt ihn optional zu einer "
                    "gewünschten Aufwachzeit wieder auf."),
        crlf +
            "Nach dem Aufwachen kann ein Programm, ein Batchfile oder eine "
            "Internetverbindung gestartet werden.",
        crlf +
            "Falls Remotezugriffe erfolgen sollen, kann die vom Provider vergebene "
            "dynamische IP-Adresse per FTP auf einen Server übertragen werden (eingebettet "
            "in eine HTML-Datei, Dateiname:ip.html).",
        crlf +
            "Der Rechner kann nach einer gewünschten Zeitspanne (in Minuten) erneut in den "
            "Ruhe- oder Standbyzustand versetzt werden.",
        // Names the executable as it really is called, so the firewall rule matches it.
        crlf +
            "Wenn die IP verschickt werden soll und auf dem Computer eine Firewall aktiv "
            "ist, muss das Programm " +
            programName + executableExtension + " in der Firewall freigeschaltet werden.",
        crlf + crlf +
            "Beim Start des Programms wird zunächst geprüft ob der  Standby-Modus (ACPI-S3, "
            "Suspend to RAM) und der Modus Hibernate- oder Ruhezustand (ACPI-S4, Suspend to "
            "disk) auf dem Rechner überhaupt möglich sind.",
        crlf + crlf + "Somnar Scheduler 1.0 - gute Nacht und gutes Erwachen!",
    };
}

}  // namespace somnar
