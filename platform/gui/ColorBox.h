#pragma once
// TColorBox: a drop-down list of colours, each shown with a swatch and its name. The style
// chooses the groups listed: the 16 standard colours, 4 extended ones, the system colours (kept as
// system colours, resolved through the theme when drawn) and a first entry "Custom..." that holds
// one colour of its own, which the user sets in a colour dialog.
#include <vector>

#include "CustomComboBox.h"
#include "Set.h"

enum TColorBoxStyles { cbStandardColors, cbExtendedColors, cbSystemColors, cbCustomColor };
using TColorBoxStyle = Set<TColorBoxStyles>;

class TColorBox : public TCustomComboBox {
public:
  explicit TColorBox(TComponent* AOwner);

  // Standard, extended and system colours until set.
  TColorBoxStyle Style() const { return style_; }
  void SetStyle(TColorBoxStyle style);

  // A colour that is not listed goes into the custom entry when the style has one; either way it
  // reads back as set. Also set when the style gains the custom entry later.
  TColor Selected() const { return selected_; }
  void SetSelected(TColor color);

protected:
  void UserPicked(int index) override;

private:
  struct Entry {
    TColor color;
    const char* name;
  };

  bool HasCustom() const { return style_.Contains(cbCustomColor); }
  void Populate();
  void Select(TColor color);
  void SetCustomColor(TColor color);
  void PickCustomColor();

  TColorBoxStyle style_{cbStandardColors, cbExtendedColors, cbSystemColors};
  std::vector<Entry> entries_;  // in list order, the custom entry first when there is one
  TColor selected_ = 0;         // black
  TColor custom_ = 0;
};
