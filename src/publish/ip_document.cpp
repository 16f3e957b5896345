#include "publish/ip_document.h"

namespace somnar {

std::string ipDocument(const std::string& address, const std::string& startedAt) {
    const std::string crlf = "\r\n";
    return "<HTML>" + crlf + "<CENTER> Meine IP-Adresse lautet: " + address + crlf +
           "<CENTER> Rechner wurde gestartet: " + startedAt + crlf + "</CENTER></HTML>" + crlf;
}

}  // namespace somnar
