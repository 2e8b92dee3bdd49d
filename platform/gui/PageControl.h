#pragma once
// TPageControl and TTabSheet: a row of tabs over a stack of sheets, of which only the active one
// is shown. Setting ActivePage in code fires no OnChange. When the user picks a tab: the focus
// leaves the old sheet (its controls' OnExit), the new sheet is shown and sized (its OnResize
// runs while ActivePage is still the old sheet), the old one is hidden, ActivePage changes, and
// then OnChange runs.
#include <vector>

#include "Controls.h"

class QTabBar;
class TPageControl;

class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  // Setting it places the sheet in the page control, its tab after the others.
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* pageControl);

protected:
  void TextChanged() override;

private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
};

class TPageControl : public TWinControl {
public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page);
  int PageCount() const { return static_cast<int>(pages_.size()); }

  // Where the tab of page `index` lies, in client coordinates; empty when there is none.
  TRect TabRect(int index) const;

  // The user picked another tab.
  TNotifyEvent OnChange;

protected:
  // The sheets fill the area under the tab row, inside the pane's frame.
  TRect AlignRect() const override;
  QWidget* FocusWidget() const override;
  bool PaintWidget(QWidget* widget) override;
  void ApplyGeometry() override;
  void FontChanged() override;

private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void CaptionChanged(TTabSheet* page);
  int IndexOf(const TTabSheet* page) const;
  void ChangeActivePage(TTabSheet* page);
  void TabPicked(int index);
  int TabRowHeight() const;
  void PlaceTabBar();

  QTabBar* tabBar_;
  std::vector<TTabSheet*> pages_;  // in tab order
  TTabSheet* activePage_ = nullptr;
  bool settingTab_ = false;  // the tab bar follows the code, not the user
};
