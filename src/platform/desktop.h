#pragma once

namespace somnar {

// Facts about the screen the windows are placed on.
class Desktop {
  public:
    virtual ~Desktop() = default;

    virtual int screenWidthTwips() const = 0;
    virtual int screenHeightTwips() const = 0;
};

}  // namespace somnar
