#pragma once

namespace tapster::ui {

class Frame;
class Label;
class Button;
class CheckBox;
class TextBox;
class PictureBox;
class ListBox;
class CheckListBox;

// The kinds of control the window shows, each told apart by its own `accept`, so a view can
// be made for a control without asking its type. A control the window does not show (a
// timer, a menu entry, the form itself) visits nothing.
class ControlVisitor {
  public:
    virtual ~ControlVisitor() = default;
    virtual void visit(Frame& frame) = 0;
    virtual void visit(Label& label) = 0;
    virtual void visit(Button& button) = 0;
    virtual void visit(CheckBox& check_box) = 0;
    virtual void visit(TextBox& text_box) = 0;
    virtual void visit(PictureBox& picture) = 0;
    virtual void visit(ListBox& list) = 0;
    virtual void visit(CheckListBox& list) = 0;

  protected:
    ControlVisitor() = default;
    ControlVisitor(const ControlVisitor&) = default;
    ControlVisitor& operator=(const ControlVisitor&) = default;
};

}  // namespace tapster::ui
