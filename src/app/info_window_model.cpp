#include "app/info_window_model.h"

#include "app/info_text.h"

namespace somnar {

InfoWindow::InfoWindow(Services& services) : services_(services), registry_(infoWindowDesign()) {
    registry_.add(infoText, "Text1");
    registry_.add(backButton, "Command1");
    registry_.applyDesign();
    window.setCaption(std::string(infoWindowDesign().caption));
    window.setWidth(infoWindowDesign().width);
    window.setHeight(infoWindowDesign().height);
    backButton.onClick = [this] { onBack(); };
}

void InfoWindow::open() {
    if (window.loaded()) {
        window.bringToFront();
        return;
    }
    build();
    window.setLoaded(true);
    window.show();
}

void InfoWindow::build() {
    window.move((services_.desktop.screenWidthTwips() - window.width()) / 2,
                (services_.desktop.screenHeightTwips() - window.height()) / 2);
    const std::vector<std::string> paragraphs =
        infoParagraphs(services_.program.programName(), services_.program.executableExtension());
    infoText.setText(paragraphs.front());
    for (std::size_t i = 1; i < paragraphs.size(); ++i) {
        infoText.setText(infoText.text() + paragraphs[i]);
    }
}

void InfoWindow::onBack() {
    close();
}

void InfoWindow::close() {
    window.hide();
    window.setLoaded(false);
}

}  // namespace somnar
