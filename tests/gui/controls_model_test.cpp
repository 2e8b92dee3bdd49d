#include <QPointer>
#include <memory>

#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "support/GuiTest.h"

namespace {

// Counts its own destruction.
class ProbePanel : public TPanel {
public:
  ProbePanel(TComponent* owner, int* deaths) : TPanel(owner), deaths_(deaths) {}
  ~ProbePanel() override { ++*deaths_; }

private:
  int* deaths_;
};

using ControlModelTest = GuiTest;

TEST_F(ControlModelTest, TheOwnerFreesWhatItOwnsWherePlaced)
{
  int deaths = 0;
  auto* owner = new ProbePanel(nullptr, &deaths);
  TPanel elsewhere(nullptr);
  // Owned by one panel, placed on another (as the chart splitter).
  auto* child = new ProbePanel(owner, &deaths);
  child->SetParent(&elsewhere);
  child->SetAlign(alLeft);
  const QPointer<QWidget> childWidget(child->Widget());
  delete owner;
  EXPECT_EQ(deaths, 2);
  EXPECT_TRUE(childWidget.isNull());
  // The parent no longer lists it: realigning and freeing the parent touch nothing freed.
  elsewhere.SetWidth(400);
  EXPECT_TRUE(elsewhere.Widget()->children().isEmpty());
}

TEST_F(ControlModelTest, TheParentFreesItsChildrenAndTheOwnerForgetsThem)
{
  int deaths = 0;
  auto owner = std::make_unique<ProbePanel>(nullptr, &deaths);
  auto* parent = new ProbePanel(nullptr, &deaths);
  auto* child = new ProbePanel(owner.get(), &deaths);
  auto* grandchild = new ProbePanel(owner.get(), &deaths);
  child->SetParent(parent);
  grandchild->SetParent(child);
  delete parent;  // as deleting MainPanel frees every control below it
  EXPECT_EQ(deaths, 3);
  owner.reset();  // must not free the two again
  EXPECT_EQ(deaths, 4);
}

TEST_F(ControlModelTest, AControlFreedAloneLeavesOwnerAndParent)
{
  int deaths = 0;
  {
    ProbePanel owner(nullptr, &deaths);
    TPanel parent(nullptr);
    parent.SetBevelOuter(bvNone);
    parent.SetBounds(0, 0, 100, 100);
    auto* row = new ProbePanel(&owner, &deaths);
    row->SetParent(&parent);
    row->SetAlign(alTop);
    row->SetHeight(20);
    auto* rest = new TPanel(&owner);
    rest->SetParent(&parent);
    rest->SetAlign(alClient);
    EXPECT_EQ(rest->Top(), 20);
    delete row;  // a mask row control deleted on its own
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(rest->Top(), 0);
  }
  EXPECT_EQ(deaths, 2);
}

TEST_F(ControlModelTest, GraphicControlsStayUnderWindowedSiblings)
{
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  TPanel box(&form);
  box.SetParent(&form);
  box.SetBevelOuter(bvNone);
  box.SetBounds(0, 0, 200, 100);
  // The hover bar is created first, the row's name label later, on the same spot.
  auto* bar = new TPanel(&box);
  bar->SetParent(&box);
  bar->SetBounds(0, 10, 200, 20);
  auto* label = new TLabel(&box);
  label->SetParent(&box);
  label->SetCaption("Engine speed");
  label->SetBounds(5, 12, 100, 15);
  auto* edit = new TPanel(&box);  // a windowed row control beside the label
  edit->SetParent(&box);
  edit->SetBounds(150, 10, 40, 20);
  form.Show();

  const QPoint overlap(20, 15);
  EXPECT_EQ(box.Widget()->childAt(overlap), bar->Widget());
  // "Sent to the back of the windowed children": still over the label...
  bar->SendToBack();
  EXPECT_EQ(box.Widget()->childAt(overlap), bar->Widget());
  // ...but under the other windowed child.
  EXPECT_EQ(box.Widget()->childAt(QPoint(160, 15)), edit->Widget());
  // A label brought to the front stays under windowed controls.
  label->BringToFront();
  EXPECT_EQ(box.Widget()->childAt(overlap), bar->Widget());
  // With the bar hidden, the label is what lies there.
  bar->Hide();
  EXPECT_EQ(box.Widget()->childAt(overlap), label->Widget());

  // And on screen: the bar's colour covers the label.
  bar->Show();
  bar->SetColor(0x0000FF);
  const QImage image = box.Widget()->grab().toImage();
  EXPECT_EQ(image.pixelColor(overlap), QColor(255, 0, 0));
}

TEST_F(ControlModelTest, BringToFrontAndSendToBackOrderWindowedSiblings)
{
  TPanel box(nullptr);
  box.SetBounds(0, 0, 100, 100);
  auto* first = new TPanel(&box);
  first->SetParent(&box);
  auto* second = new TPanel(&box);
  second->SetParent(&box);
  const QPoint p(10, 10);
  EXPECT_EQ(box.Widget()->childAt(p), second->Widget());
  second->SendToBack();
  EXPECT_EQ(box.Widget()->childAt(p), first->Widget());
  second->BringToFront();
  EXPECT_EQ(box.Widget()->childAt(p), second->Widget());
}

TEST_F(ControlModelTest, DisablingAParentDisablesEveryControlBelowIt)
{
  TForm form(nullptr);
  auto* mainPanel = new TPanel(&form);
  mainPanel->SetParent(&form);
  auto* inner = new TPanel(mainPanel);
  inner->SetParent(mainPanel);
  auto* label = new TLabel(inner);
  label->SetParent(inner);
  form.Show();
  int downs = 0;
  inner->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };

  mainPanel->SetEnabled(false);
  EXPECT_FALSE(inner->Widget()->isEnabled());
  EXPECT_FALSE(label->Widget()->isEnabled());
  EXPECT_TRUE(inner->Enabled());  // the control's own flag is untouched
  EXPECT_FALSE(inner->CanFocus());
  EXPECT_THROW(inner->SetFocus(), EInvalidOperation);
  SendMouse(inner->Widget(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
  SendMouse(inner->Widget(), QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(downs, 0);

  mainPanel->SetEnabled(true);
  EXPECT_TRUE(inner->Widget()->isEnabled());
  SendMouse(inner->Widget(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(downs, 1);
}

TEST_F(ControlModelTest, ChildrenFollowTheParentFontUntilTheirOwnChanges)
{
  TPanel mainPanel(nullptr);
  mainPanel.Font()->SetName("Verdana");
  mainPanel.Font()->SetSize(10);
  EXPECT_FALSE(mainPanel.ParentFont());
  auto* header = new TLabel(&mainPanel);
  header->SetParent(&mainPanel);
  auto* plain = new TLabel(&mainPanel);
  plain->SetParent(&mainPanel);
  EXPECT_EQ(header->Font()->Name(), "Verdana");
  EXPECT_EQ(header->Font()->Size(), 10);
  // "Font style plus bold" on the copy of the inherited font.
  header->Font()->SetStyle(header->Font()->Style() | fsBold);
  EXPECT_FALSE(header->ParentFont());
  EXPECT_EQ(header->Font()->Name(), "Verdana");
  EXPECT_TRUE(header->Widget()->font().bold());

  mainPanel.Font()->SetSize(12);
  EXPECT_EQ(plain->Font()->Size(), 12);
  EXPECT_EQ(header->Font()->Size(), 10);
  EXPECT_EQ(plain->Widget()->font().pixelSize(), mainPanel.Widget()->font().pixelSize());
}

TEST_F(ControlModelTest, APanelPaintsItsColourAndItsBevel)
{
  TPanel bar(nullptr);
  bar.SetBounds(0, 0, 40, 20);
  bar.SetColor(0xC0DCC0);  // 0x00BBGGRR
  QImage image = bar.Widget()->grab().toImage();
  EXPECT_EQ(image.pixelColor(20, 10), QColor(0xC0, 0xDC, 0xC0));
  // The default raised bevel draws its edges in other colours than the face.
  EXPECT_NE(image.pixelColor(0, 10), QColor(0xC0, 0xDC, 0xC0));
  EXPECT_NE(image.pixelColor(39, 10), QColor(0xC0, 0xDC, 0xC0));
  bar.SetBevelOuter(bvNone);
  image = bar.Widget()->grab().toImage();
  EXPECT_EQ(image.pixelColor(0, 10), QColor(0xC0, 0xDC, 0xC0));
}

}  // namespace
