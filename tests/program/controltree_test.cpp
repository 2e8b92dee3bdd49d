// The window built in code: every control with its class, parent, owner and fixed properties (a
// dump compared with the expected one), the F-keys from any control, a close that frees every
// control and leaves the form's actions reaching nothing, and pictures from the resource table.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <cxxabi.h>
#include <map>
#include <set>
#include <sstream>

#include "ActnList.h"
#include "Bitmap.h"
#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Menus.h"
#include "Resources.h"
#include "StdCtrls.h"
#include "app/Qelform.h"
#include "app/Qelunit.h"
#include "app/ResourceGraphic.h"
#include "support/StartTestSupport.h"
#include "support/WindowInput.h"

namespace {

// clang-format off
#define TREE_MEMBERS(X) \
    X(MainPanel) X(PageControl) X(OptionsPage) X(TextPage) X(ChartPage) X(OptionsPageControl) X(MaskPage) \
    X(CommonPage) X(HelpPage) X(ToolbarPanel) X(RecentCombo) X(OpenButton) X(PasteButton) X(PrevButton) \
    X(NextButton) X(LanguageButton) X(SpeedEdit) X(SpeedUnitLabel) X(ChannelList) X(StatusList) X(MaskCombo) \
    X(NewMaskButton) X(RenameMaskButton) X(DeleteMaskButton) X(MaskNameLabel) X(MaskOptionsLabel) \
    X(MaskItemsLabel) X(AllItemsLabel) X(MaskBevel1) X(MaskBevel2) X(MaskBevel3) X(MaskBevel4) \
    X(UnderCursorCheck) X(ThicknessUpDown) X(ThicknessLabel) X(ThicknessEdit) X(YBottomLabel) X(YBottomEdit) \
    X(YTopLabel) X(YTopEdit) X(MaskRowBox) X(RowHoverBar) X(RowHoverLabel) X(RowUpButton) X(RowDownButton) \
    X(RowDeleteButton) X(ItemNameHeader) X(FactorHeader) X(OffsetHeader) X(ColorHeader) X(ChartHeader) \
    X(CursorHeader) X(ChannelPopup) X(HideChannelMenu) X(ShowChannelMenu) X(RenameChannelMenu) \
    X(DeleteChannelMenu) X(ShowAllChannelsMenu) X(ListPageControl) X(ChannelListPage) X(StatusListPage) \
    X(StatusPopup) X(AddStatusMenu) X(DeleteStatusMenu) X(CommonBox) X(TextLinePeriodEdit) \
    X(TextLinePeriodLabel) X(FramePeriodEdit) X(FramePeriodLabel) X(ZoomF5Edit) X(ZoomF5Label) X(ZoomF6Edit) \
    X(ZoomF6Label) X(ZoomF7Edit) X(ZoomF7Label) X(ZoomF8Edit) X(ZoomF8Label) X(ValueWindowXEdit) \
    X(ValueWindowXLabel) X(ValueWindowYEdit) X(ValueWindowYLabel) X(EnableYZoomCheck) X(ShowProgressCheck) \
    X(OldErrorAlgorithmCheck) X(MultiLineStatusesCheck) X(ClearHistoryButton) X(RenameLogsButton) \
    X(DictRenameButton) X(RussianButton) X(EnglishButton) X(GermanButton) X(ParamStyleGroup) X(ParamStyleRadio1) \
    X(ParamStyleRadio2) X(ParamStyleImage1) X(ParamStyleImage2) X(StatusStyleGroup) X(StatusStyleRadio1) \
    X(StatusStyleRadio2) X(StatusStyleImage1) X(StatusStyleImage2) X(HelpMemo) X(TextMemo) X(FindPanel) \
    X(FindLabel) X(FindEdit) X(FindButton) X(FindUpRadio) X(FindDownRadio) X(TextStatusBar) X(ClearFindButton) \
    X(TextStartButton) X(TextEndButton) X(ChartAreaPanel) X(ChartColumnPanel) X(ChartComboPanel) \
    X(LegendScrollBox) X(FaultScrollBox) X(LegendSplitter) X(ChartSplitter) X(ChartMaskCombo) X(ChartStatusBar) \
    X(ChartPaintBox) X(LegendPaintBox) X(FaultPaintBox) X(ActionList) X(ToggleTextChartAction) X(ZoomF5Action) \
    X(ZoomF6Action) X(ZoomF7Action) X(ZoomF8Action) X(SaveReportAction) X(SaveJpegAction)
// clang-format on

struct Member {
  const char* name;
  TComponent* component;
  const void* address;
};

std::vector<Member> TreeMembers(BQELunit& u)
{
#define ENTRY(m) Member{#m, u.m, &u.m},
  return {TREE_MEMBERS(ENTRY)};
#undef ENTRY
}

std::string ClassName(const TComponent* c)
{
  char* name = abi::__cxa_demangle(typeid(*c).name(), nullptr, nullptr, nullptr);
  std::string result = name ? name : "?";
  std::free(name);
  return result;
}

// "text" when on; "" otherwise.
const char* Flag(bool on, const char* text)
{
  return on ? text : "";
}

// One line a member: class, parent, owner where it differs, alignment and fixed properties.
std::string Dump(BQELunit& u, TComponent* form)
{
  const std::vector<Member> members = TreeMembers(u);
  std::map<const void*, std::string> names{{form, "form"}, {nullptr, "none"}};
  for (const Member& m : members)
    names[m.component] = m.name;
  auto nameOf = [&](const void* c) { return names.count(c) ? names[c] : "?"; };
  std::ostringstream out;
  for (const auto& [name, c, address] : members) {
    out << name << ' ' << (c ? ClassName(c) : "missing");
    auto* control = dynamic_cast<TControl*>(c);
    const TComponent* parent = control ? control->Parent() : nullptr;
    if (control)
      out << " parent=" << nameOf(parent);
    if (c && (!control || c->Owner() != parent))
      out << " owner=" << nameOf(c->Owner());
    if (control) {
      static const char* const Aligns[] = {"", " alTop", " alBottom", " alLeft", " alRight", " alClient"};
      out << Aligns[control->Align()] << Flag(!control->Visible(), " hidden")
          << Flag(control->ShowHint(), " hint");
      if (!control->ParentFont())
        out << " font=" << control->Font()->Name() << '/' << control->Font()->Size()
            << Flag(control->Font()->Style() & fsBold, "/bold");
      if (control->PopupMenu())
        out << " popup=" << nameOf(control->PopupMenu());
    }
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->BorderWidth())
      out << " border=" << w->BorderWidth();
    if (auto* p = dynamic_cast<TPanel*>(c))
      out << Flag(p->BevelOuter() == bvNone, " nobevel");
    if (auto* l = dynamic_cast<TLabel*>(c); l && !l->AutoSize())
      out << " fixed=" << l->Left() << ',' << l->Top() << ',' << l->Width();
    if (control && (dynamic_cast<TPanel*>(c) || dynamic_cast<TLabel*>(c)) && control->Color() != clBtnFace)
      out << " color=" << std::hex << control->Color() << std::dec;
    if (auto* p = dynamic_cast<TPageControl*>(c))
      out << " active=" << nameOf(p->ActivePage());
    if (auto* b = dynamic_cast<TComboBox*>(c))
      out << " dropdown=" << b->DropDownCount();
    if (auto* e = dynamic_cast<TEdit*>(c); e && e->ReadOnly())
      out << " readonly text=" << e->Text();
    if (auto* m = dynamic_cast<TMemo*>(c))
      out << Flag(m->ReadOnly(), " readonly") << " scroll=" << m->ScrollBars()
          << Flag(!m->HideSelection(), " keepselection");
    if (auto* l = dynamic_cast<TListBox*>(c))
      out << Flag(l->Sorted(), " sorted") << Flag(l->Style() == lbOwnerDrawFixed, " ownerdraw");
    if (auto* b = dynamic_cast<TCheckBox*>(c))
      out << Flag(b->Checked(), " checked");
    if (auto* b = dynamic_cast<TRadioButton*>(c))
      out << Flag(b->Checked(), " checked");
    if (auto* d = dynamic_cast<TUpDown*>(c))
      out << " range=" << d->Min() << ".." << d->Max() << " position=" << d->Position()
          << " associate=" << nameOf(d->Associate());
    if (auto* i = dynamic_cast<TImage*>(c))
      out << Flag(i->AutoSize(), " autosize");
    if (auto* s = dynamic_cast<TSplitter*>(c))
      out << " min=" << s->MinSize() << " size=" << (s->Align() == alLeft ? s->Width() : s->Height());
    if (auto* p = dynamic_cast<TPaintBox*>(c); p && p->Align() == alNone)
      out << " bounds=" << p->Left() << ',' << p->Top() << ',' << p->Width() << 'x' << p->Height();
    if (auto* b = dynamic_cast<TStatusBar*>(c)) {
      out << " panels=" << b->Panels()->Count();
      for (int i = 0; i < b->Panels()->Count(); ++i)
        if (b->Panels()->Items(i)->Style() == psOwnerDraw)
          out << " ownerdraw=" << i;
    }
    if (auto* a = dynamic_cast<TAction*>(c))
      out << " key=" << a->ShortCut() << " list=" << nameOf(a->ActionList());
    out << '\n';
  }
  return out.str();
}

class ControlTree : public ProgramStart {
protected:
  void SetUp() override
  {
    form->SetShowHint(false);  // hints only where the tree sets them, not inherited from the form
    Start();
  }
  // Input goes through the window system, to whichever control has the focus.
  void Key(int qtKey) { window_input::Key(form->Widget(), qtKey); }

  CommandLineScope ownCommandLine{{}};
};

std::string Expected(const char* name)
{
  return ScratchFolder::Read(std::string(DRAVOLIN_TEST_DATA "/program/") + name);
}

TEST_F(ControlTree, TheBuiltTreeIsTheOutlineInDeclaredOrder)
{
  BQELunit& u = *gQELunit;
  EXPECT_EQ(Dump(u, form), Expected("control_tree.txt"));

  const std::vector<Member> members = TreeMembers(u);
  for (size_t i = 1; i < members.size(); ++i)
    EXPECT_LT(members[i - 1].address, members[i].address) << members[i].name << " out of the declared order";
}

TEST_F(ControlTree, KeysReachTheActionsFromAnyControlAndAfterTheCloseNothing)
{
  BQELunit& u = *gQELunit;
  TAction* const actions[] = {u.ToggleTextChartAction, u.ZoomF5Action,     u.ZoomF6Action,  u.ZoomF7Action,
                              u.ZoomF8Action,          u.SaveReportAction, u.SaveJpegAction};
  std::string log;
  for (TAction* action : actions)
    action->OnExecute = [&log, action](TObject*) { log += std::to_string(action->ShortCut()) + ' '; };
  const int keys[] = {Qt::Key_F3, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8, Qt::Key_F10, Qt::Key_F12};
  form->SetFocus();
  ASSERT_TRUE(RunLoopUntil([&] { return form->Widget()->isActiveWindow(); }));
  // A memo, an edit, a combo, a list box and the up-down's edit, each on its page: none keeps them.
  for (TWinControl* control : std::initializer_list<TWinControl*>{u.TextMemo, u.FindEdit, u.ChartMaskCombo,
                                                                  u.ChannelList, u.ThicknessEdit}) {
    TWinControl* page = control;
    while (page->Parent() != u.PageControl)
      page = page->Parent();
    u.PageControl->SetActivePage(static_cast<TTabSheet*>(page));
    control->SetFocus();
    log += '|';
    for (int key : keys)
      Key(key);
  }
  const std::string all = "|114 116 117 118 119 121 123 ";
  EXPECT_EQ(log, all + all + all + all + all);

  std::vector<QPointer<QWidget>> widgets;
  for (const Member& m : TreeMembers(u))
    if (auto* control = dynamic_cast<TControl*>(m.component))
      widgets.emplace_back(control->Widget());
  // Freed as the form's close frees it, the form still up: a key arriving now reaches nothing.
  log.clear();
  delete gQELunit;
  gQELunit = nullptr;
  for (TAction* action : actions)
    EXPECT_FALSE(action->OnExecute);
  for (const QPointer<QWidget>& widget : widgets)
    EXPECT_TRUE(widget.isNull());
  for (int key : keys)
    Key(key);
  EXPECT_EQ(log, "");
}

// Started in a language of an older settings file (German captions, English help), the toolbar
// flag steps round the three languages and back; in each the flag, the help, the display of a
// name byte follow, a typed value stays, and every caption, hint and menu text is the text id
// it equals in all three (the dump).
TEST_F(ControlTree, TheFlagStepsEveryTextFlagHelpAndNameRoundTheLanguages)
{
  BQELunit& u = *gQELunit;
  u.Language = 5;
  u.HideUnusedChannels = 0;
  u.EditorRowsValid = 1;
  u.ApplyLanguage();
  u.ZoomF5Edit->SetText("42");
  u.RowHoverLabel->SetCaption("\xF6");
  const struct {
    const char* flag;
    int helpLines;
    const char* byteShown;
  } languages[] = {{"flagr2", 116, "ц"}, {"flage2", 113, "ц"}, {"flagd2", 113, "ö"}};
  std::map<std::string, std::set<int>> ids;
  AnsiString text;
  for (int click = 0; click < 5; ++click) {
    if (click > 0)
      window_input::Click(u.LanguageButton->Widget(), QPoint(5, 5));
    const int language = click == 0 ? 2 : (click - 1) % 3;
    ASSERT_EQ(u.Language, click == 0 ? 5 : language);
    TBitmap flag;
    LoadResourceGraphic(&flag, languages[language].flag);
    EXPECT_TRUE(u.LanguageButton->Glyph()->Image() == flag.Image() &&
                u.HelpMemo->Lines()->Count() == languages[language].helpLines && u.ZoomF5Edit->Text() == "42" &&
                static_cast<QLabel*>(u.RowHoverLabel->Widget())->text() ==
                    QString::fromUtf8(languages[language].byteShown))
        << language;
    for (const auto& [name, c, address] : TreeMembers(u)) {
      auto* control = dynamic_cast<TControl*>(c);
      auto* item = dynamic_cast<TMenuItem*>(c);
      // Values (edits, memos, combos) equal no text and drop out.
      for (const auto& [what, shown] : {std::pair{" caption", control ? control->Caption()
                                                              : item  ? item->Caption()
                                                                      : ""},
                                        std::pair{" hint", control ? control->Hint() : ""}}) {
        std::set<int>& all = ids[name + std::string(what)];
        for (int id = 0; id <= 109; ++id) {
          const bool equal = !shown.empty() && u.GetUiText(id, text) == shown;
          if (click == 0 && equal)
            all.insert(id);
          else if (!equal)
            all.erase(id);
        }
      }
    }
  }
  std::string dump;
  for (const auto& [key, set] : ids)
    for (auto id = set.begin(); id != set.end(); ++id)
      dump +=
          (id == set.begin() ? key : "") + ' ' + std::to_string(*id) + (std::next(id) == set.end() ? "\n" : "");
  EXPECT_EQ(dump, Expected("window_texts.txt"));
}

// Keeps what it was asked to load.
class RecordingGraphic : public TGraphic {
public:
  void LoadFromStream(TStream& stream) override
  {
    ++loads;
    char buffer[4096];
    for (int32_t n; (n = stream.Read(buffer, sizeof buffer)) > 0;)
      bytes.append(buffer, static_cast<size_t>(n));
  }
  int loads = 0;
  std::string bytes;
};

// A missing name, or bytes that are no picture (the dictionary is text), leave the bitmap as it
// was, and building a window goes on without it; a present resource is read whole, whatever the
// case of its name.
TEST(LoadResourceGraphic, AMissingResourceOrNoPictureLeavesTheGraphicAPresentOneIsReadWhole)
{
  TBitmap bitmap;
  bitmap.SetWidth(3);
  bitmap.SetHeight(2);
  bitmap.OnChange = [] { ADD_FAILURE() << "changed"; };
  LoadResourceGraphic(&bitmap, "no such picture");
  EXPECT_THROW(LoadResourceGraphic(&bitmap, "dictred"), EInvalidGraphic);
  LoadResourceGraphicOrNone(&bitmap, "dictred");
  EXPECT_EQ(bitmap.Width() * 10 + bitmap.Height(), 32);
  LoadResourceGraphic(nullptr, "dictred");

  const ResourceEntry* entry = FindResource("dictred", "RT_RCDATA");
  ASSERT_NE(entry, nullptr);
  RecordingGraphic recorder;
  LoadResourceGraphic(&recorder, "DictRed");
  EXPECT_EQ(recorder.loads, 1);
  EXPECT_EQ(recorder.bytes, std::string(reinterpret_cast<const char*>(entry->Data), entry->Size));
}

}  // namespace
