#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/control_design.h"
#include "app/controls.h"

namespace somnar {

// Elements of a control array, addressed by their design indices First..First+Count-1.
template <typename T, int First, int Count>
class ControlArray {
  public:
    T& operator[](int index) { return elements_.at(static_cast<std::size_t>(index - First)); }
    const T& operator[](int index) const {
        return elements_.at(static_cast<std::size_t>(index - First));
    }
    static constexpr int first() { return First; }
    static constexpr int count() { return Count; }

  private:
    std::array<T, Count> elements_;
};

// Joins a window's control members to the rows of its design and keeps them in
// design order (containers before the controls they hold).
class ControlRegistry {
  public:
    explicit ControlRegistry(const WindowDesign& design) : design_(design) {}

    void add(Control& control, std::string_view name, int index = -1);

    template <typename T, int First, int Count>
    void addArray(ControlArray<T, First, Count>& array, std::string_view name) {
        for (int i = First; i < First + Count; ++i) {
            add(array[i], name, i);
        }
    }

    // Applies the design to every control added: containers, places, captions,
    // initial states, and the groups of option buttons that exclude each other. Rows of
    // captions, lines, frames and shapes that no member stands for get a control of
    // their own here, so the view shows them. Called once, after every member is added.
    void applyDesign();

    // Controls in design order.
    const std::vector<Control*>& controls() const { return ordered_; }
    Control* find(std::string_view key) const;

    // Design rows without a control, controls without a row, kinds that differ;
    // empty when the model matches its design.
    std::vector<std::string> mismatches() const;

  private:
    const WindowDesign& design_;
    std::vector<Control*> added_;
    // The first control added under each key; looked up for every design row.
    std::map<std::string, Control*, std::less<>> byKey_;
    std::vector<std::unique_ptr<Control>> designOnly_;
    std::vector<Control*> ordered_;
};

}  // namespace somnar
