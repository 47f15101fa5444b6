#include "ui/focus.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <tuple>

#include "ui/control.h"

namespace ui {
namespace {

struct Box {
  int left, top, right, bottom;
};

Box BoxOf(const Control& c) {
  return {c.Left(), c.Top(), c.Left() + c.Width(), c.Top() + c.Height()};
}

// Touching edges count: the cells of a board touch without overlapping.
bool Meet(const Box& a, const Box& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

Box Union(const Box& a, const Box& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

bool SameRow(const Control& a, const Control& b) {
  return a.Top() < b.Top() + b.Height() && b.Top() < a.Top() + a.Height();
}

const Button* ArrayButton(const Control* c) {
  auto* button = dynamic_cast<const Button*>(c);
  return button && button->Array() ? button : nullptr;
}

bool IsOneLineTextBox(const Control* c) {
  auto* box = dynamic_cast<const TextBox*>(c);
  return box && !box->MultiLine();
}

// The shown, enabled button of `from`'s array nearest to it: in its row first, then the
// nearest row; the nearer column, and at equal distance the one after it.
Control* NearestInArray(const Window& window, const Button& from) {
  Control* best = nullptr;
  std::tuple<bool, int, int, bool> best_key{};
  for (Control* c : window.Controls()) {
    const Button* b = ArrayButton(c);
    if (!b || b == &from || b->Array() != from.Array() || !b->Acts()) continue;
    const std::tuple<bool, int, int, bool> key{!SameRow(*b, from), std::abs(b->Top() - from.Top()),
                                               std::abs(b->Left() - from.Left()),
                                               b->Index() < from.Index()};
    if (!best || key < best_key) {
      best = c;
      best_key = key;
    }
  }
  return best;
}

}  // namespace

std::vector<Control*> TabOrder(const Window& window) {
  std::vector<Control*> controls;
  for (Control* c : window.Controls())
    if (c->TakesFocus()) controls.push_back(c);

  // Blocks: controls joined while any two of them meet.
  std::vector<std::size_t> block(controls.size());
  std::iota(block.begin(), block.end(), 0);
  for (bool merged = true; merged;) {
    merged = false;
    for (std::size_t i = 0; i < controls.size(); ++i)
      for (std::size_t j = i + 1; j < controls.size(); ++j)
        if (block[i] != block[j] && Meet(BoxOf(*controls[i]), BoxOf(*controls[j]))) {
          const std::size_t from = block[j], to = block[i];
          std::replace(block.begin(), block.end(), from, to);
          merged = true;
        }
  }
  std::vector<std::size_t> ids;
  std::vector<Box> extent(controls.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const std::size_t id = block[i];
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
      ids.push_back(id);
      extent[id] = BoxOf(*controls[i]);
    } else {
      extent[id] = Union(extent[id], BoxOf(*controls[i]));
    }
  }

  // Rows of blocks: from the top, a block that starts above the row's bottom joins it.
  std::stable_sort(ids.begin(), ids.end(),
                   [&](std::size_t a, std::size_t b) { return extent[a].top < extent[b].top; });
  std::vector<int> row_of(controls.size(), 0);
  int row = -1, row_bottom = 0;
  for (std::size_t id : ids) {
    if (row < 0 || extent[id].top >= row_bottom) {
      ++row;
      row_bottom = extent[id].bottom;
    }
    row_bottom = std::max(row_bottom, extent[id].bottom);
    row_of[id] = row;
  }
  std::stable_sort(ids.begin(), ids.end(), [&](std::size_t a, std::size_t b) {
    return std::tie(row_of[a], extent[a].left, extent[a].top) <
           std::tie(row_of[b], extent[b].left, extent[b].top);
  });
  std::vector<std::size_t> rank(controls.size());
  for (std::size_t k = 0; k < ids.size(); ++k) rank[ids[k]] = k;

  std::vector<std::size_t> order(controls.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const Control& ca = *controls[a];
    const Control& cb = *controls[b];
    return std::make_tuple(rank[block[a]], ca.Top(), ca.Left()) <
           std::make_tuple(rank[block[b]], cb.Top(), cb.Left());
  });
  std::vector<Control*> result;
  result.reserve(order.size());
  for (std::size_t i : order) result.push_back(controls[i]);
  return result;
}

Control* NextFocus(const Window& window, const Control* from) {
  if (const Button* button = ArrayButton(from))
    if (Control* near = NearestInArray(window, *button)) return near;
  const auto first = [&window](auto&& wanted) -> Control* {
    for (Control* c : window.Controls())
      if (c->Acts() && wanted(c)) return c;
    return nullptr;
  };
  if (Control* list = first([](const Control* c) { return dynamic_cast<const ListBox*>(c); }))
    return list;
  if (Control* box = first(IsOneLineTextBox)) return box;
  return first(ArrayButton);
}

}  // namespace ui
