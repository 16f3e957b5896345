#include "app/info_window_model.h"

#include "app/info_text.h"

namespace somnar {

FrmInfo::FrmInfo(Services& services) : services_(services), registry_(frmInfoDesign()) {
    registry_.add(Shape1, "Shape1");
    registry_.add(Text1, "Text1");
    registry_.add(Command1, "Command1");
    registry_.applyDesign();
    window.setCaption(std::string(frmInfoDesign().caption));
    window.setWidth(frmInfoDesign().width);
    window.setHeight(frmInfoDesign().height);
    Command1.onClick = [this] { Command1_Click(); };
}

void FrmInfo::open() {
    if (window.loaded()) {
        window.bringToFront();
        return;
    }
    Form_Load();
    window.setLoaded(true);
    window.show();
}

void FrmInfo::Form_Load() {
    window.move((services_.desktop.screenWidthTwips() - window.width()) / 2,
                (services_.desktop.screenHeightTwips() - window.height()) / 2);
    const std::vector<std::string> paragraphs =
        infoParagraphs(services_.program.programName(), services_.program.executableExtension());
    Text1.setText(paragraphs.front());
    for (std::size_t i = 1; i < paragraphs.size(); ++i) {
        Text1.setText(Text1.text() + paragraphs[i]);
    }
}

void FrmInfo::Command1_Click() {
    close();
}

void FrmInfo::close() {
    window.hide();
    window.setLoaded(false);
}

}  // namespace somnar
