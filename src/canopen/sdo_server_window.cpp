#include "canopen/sdo_server_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/dialog_frame.h"
#include "ui/message_box.h"
#include "ui/title_panel.h"

namespace brenvale {

namespace {

template <typename T>
T* named(T* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

void fill(QComboBox* box, const std::vector<std::string>& entries) {
  const QSignalBlocker block(box);
  box->clear();
  for (const std::string& entry : entries) box->addItem(ui::qs(entry));
  box->setCurrentIndex(0);
}

// A stored code that the chooser does not offer shows its first entry.
void choose(QComboBox* box, int code) { box->setCurrentIndex(code >= 0 && code < box->count() ? code : 0); }

}  // namespace

SdoServerWindow::SdoServerWindow(AppState& state, QWidget* parent, SdoVariant variant)
    : QDialog(parent), state_(state), variant_(variant), table_(variant) {
  setObjectName(variant == SdoVariant::kRead ? "TFDefine_Server_SDO_Read" : "TFDefine_Server_SDO_Write");
  P_Title = new ui::TitlePanel(this);

  L_J1939_Frame_Desc1 = named(new QLabel(this), "L_J1939_Frame_Desc1");
  L_J1939_Frame_Desc2 = named(new QLabel(this), "L_J1939_Frame_Desc2");
  LB_J1939_Frames = named(new QListWidget(this), "LB_J1939_Frames");
  auto* left = new QVBoxLayout;
  left->addWidget(L_J1939_Frame_Desc1);
  left->addWidget(L_J1939_Frame_Desc2);
  left->addWidget(LB_J1939_Frames, 1);

  L_SDO_List_Desc1 = named(new QLabel(this), "L_SDO_List_Desc1");
  L_SDO_List_Desc2 = named(new QLabel(this), "L_SDO_List_Desc2");
  LB_SDOs = named(new QListWidget(this), "LB_SDOs");
  auto* middle = new QVBoxLayout;
  middle->addWidget(L_SDO_List_Desc1);
  middle->addWidget(L_SDO_List_Desc2);
  middle->addWidget(LB_SDOs, 1);

  L_SDO_Ind_Desc1 = named(new QLabel(this), "L_SDO_Ind_Desc1");
  auto* editor = new QVBoxLayout;
  editor->addWidget(L_SDO_Ind_Desc1);
  auto add_field = [&](QLabel*& label, const char* label_name, QWidget* field) {
    label = named(new QLabel(this), label_name);
    editor->addWidget(label);
    editor->addWidget(field);
  };
  E_Index_SDO = named(new QLineEdit(this), "E_Index_SDO");
  add_field(L_Index_SDO, "L_Index_SDO", E_Index_SDO);
  E_Sub_SDO = named(new QLineEdit(this), "E_Sub_SDO");
  add_field(L_Sub_SDO, "L_Sub_SDO", E_Sub_SDO);
  CB_Dim_SDO = named(new QComboBox(this), "CB_Dim_SDO");
  for (const char* size : kSdoSizeChoices) CB_Dim_SDO->addItem(size);
  add_field(L_Dim_SDO, "L_Dim_SDO", CB_Dim_SDO);
  const char* byte_names[4] = {"CB_Byte1_SDO", "CB_Byte2_SDO", "CB_Byte3_SDO", "CB_Byte4_SDO"};
  const char* byte_labels[4] = {"L_Byte1_SDO", "L_Byte2_SDO", "L_Byte3_SDO", "L_Byte4_SDO"};
  for (int b = 0; b < 4; ++b) {
    CB_Byte_SDO[b] = named(new QComboBox(this), byte_names[b]);
    add_field(L_Byte_SDO[b], byte_labels[b], CB_Byte_SDO[b]);
  }
  if (variant == SdoVariant::kWrite) {
    CB_SDO_Send_on_Write = named(new QComboBox(this), "CB_SDO_Send_on_Write");
    for (const char* choice : kSendOnWriteChoices) CB_SDO_Send_on_Write->addItem(choice);
    add_field(L_SDO_Send_on_Write, "L_SDO_Send_on_Write", CB_SDO_Send_on_Write);
  }
  auto add_button = [&](const char* name) { return named(new QPushButton(this), name); };
  Btn_Create = add_button("Btn_Create");
  Btn_Modify = add_button("Btn_Modify");
  Btn_Delete = add_button("Btn_Delete");
  Btn_Copy = add_button("Btn_Copy");
  Btn_Paste = add_button("Btn_Paste");
  auto* edit_buttons = new QHBoxLayout;
  for (QPushButton* b : {Btn_Create, Btn_Modify, Btn_Delete}) edit_buttons->addWidget(b);
  auto* copy_buttons = new QHBoxLayout;
  for (QPushButton* b : {Btn_Copy, Btn_Paste}) copy_buttons->addWidget(b);
  editor->addLayout(edit_buttons);
  editor->addLayout(copy_buttons);
  editor->addStretch();

  auto* body = new QHBoxLayout;
  body->setContentsMargins(8, 8, 8, 0);
  body->addLayout(left, 3);
  body->addLayout(middle, 3);
  body->addLayout(editor, 3);

  Btn_OK = add_button("Btn_OK");
  Btn_Cancel = add_button("Btn_Cancel");
  auto* bottom = new QHBoxLayout;
  bottom->setContentsMargins(8, 6, 8, 8);
  bottom->addStretch();
  bottom->addWidget(Btn_OK);
  bottom->addWidget(Btn_Cancel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(P_Title);
  layout->addLayout(body, 1);
  layout->addLayout(bottom);

  connect(LB_J1939_Frames, &QListWidget::currentRowChanged, this, &SdoServerWindow::LB_J1939_FramesClick);
  connect(LB_SDOs, &QListWidget::currentRowChanged, this, &SdoServerWindow::LB_SDOsClick);
  connect(CB_Dim_SDO, &QComboBox::currentIndexChanged, this, &SdoServerWindow::CB_Dim_SDOChange);
  connect(Btn_Create, &QPushButton::clicked, this, &SdoServerWindow::Btn_CreateClick);
  connect(Btn_Modify, &QPushButton::clicked, this, &SdoServerWindow::Btn_ModifyClick);
  connect(Btn_Delete, &QPushButton::clicked, this, &SdoServerWindow::Btn_DeleteClick);
  connect(Btn_Copy, &QPushButton::clicked, this, &SdoServerWindow::Btn_CopyClick);
  connect(Btn_Paste, &QPushButton::clicked, this, &SdoServerWindow::Btn_PasteClick);
  connect(Btn_OK, &QPushButton::clicked, this, &SdoServerWindow::Btn_OKClick);
  connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);

  ui::fix_size_centered(this, 629, 572);
  refresh();
  Set_Lang();
}

void SdoServerWindow::Set_Lang() {
  const Catalogue& cat = state_.catalogue;
  const SdoTexts& t = sdo_texts(variant_);
  auto text = [&](int index) { return ui::qs(cat.get(index)); };
  setWindowTitle(text(t.title));
  P_Title->set_description(text(t.description));
  L_J1939_Frame_Desc1->setText(text(t.frames_desc1));
  L_J1939_Frame_Desc2->setText(text(t.frames_desc2));
  L_SDO_List_Desc1->setText(text(t.objects_desc1));
  L_SDO_List_Desc2->setText(text(t.objects_desc2));
  L_SDO_Ind_Desc1->setText(text(t.editor_desc));
  L_Index_SDO->setText(text(t.index_label));
  L_Sub_SDO->setText(text(t.sub_index_label));
  L_Dim_SDO->setText(text(t.size_label));
  for (int b = 0; b < 4; ++b) L_Byte_SDO[b]->setText(text(t.byte_labels[static_cast<std::size_t>(b)]));
  if (L_SDO_Send_on_Write) L_SDO_Send_on_Write->setText(text(t.send_on_write_label));
  Btn_Create->setText(text(t.create));
  Btn_Modify->setText(text(t.modify));
  Btn_Delete->setText(text(t.remove));
  Btn_Copy->setText(text(t.copy));
  Btn_Paste->setText(text(t.paste));
  Btn_OK->setText(text(t.ok));
  Btn_Cancel->setText(text(t.cancel));
}

int SdoServerWindow::open_modal() {
  const ConfigFiles files = state_.active.files();
  const bool read = variant_ == SdoVariant::kRead;
  Result<SdoServerTable> opened = SdoServerTable::open(variant_, read ? files.receive_frames() : files.transmit_frames(),
                                                       read ? files.sdo_read() : files.sdo_write());
  if (!opened) {
    ui::error_box(parentWidget(), ui::qs(opened.error().message));
    return QDialog::Rejected;
  }
  table_ = std::move(*opened);
  refresh();
  return exec();
}

int SdoServerWindow::selected_frame() const {
  const int row = LB_J1939_Frames->currentRow();
  return row >= 0 && row < static_cast<int>(table_.frames().size()) ? row : -1;
}

int SdoServerWindow::selected_object() const {
  const int frame = selected_frame();
  const int row = LB_SDOs->currentRow();
  if (frame < 0 || row < 0) return -1;
  return row < static_cast<int>(table_.frames()[static_cast<std::size_t>(frame)].objects.size()) ? row : -1;
}

void SdoServerWindow::refresh() {
  {
    const QSignalBlocker block(LB_J1939_Frames);
    LB_J1939_Frames->clear();
    for (const TJ1939_Frame& frame : table_.frames()) LB_J1939_Frames->addItem(ui::qs(sdo_frame_line(frame)));
    LB_J1939_Frames->setCurrentRow(-1);
  }
  {
    const QSignalBlocker block(LB_SDOs);
    LB_SDOs->clear();
  }
  for (QComboBox* box : CB_Byte_SDO) fill(box, sdo_byte_choices(0));
  empty_editor();
}

void SdoServerWindow::refresh_objects() {
  const QSignalBlocker block(LB_SDOs);
  LB_SDOs->clear();
  const int frame = selected_frame();
  if (frame < 0) return;
  for (const TSDO& object : table_.frames()[static_cast<std::size_t>(frame)].objects) {
    LB_SDOs->addItem(ui::qs(sdo_object_line(object)));
  }
  LB_SDOs->setCurrentRow(-1);
}

void SdoServerWindow::empty_editor() {
  E_Index_SDO->clear();
  E_Sub_SDO->clear();
  {
    const QSignalBlocker block(CB_Dim_SDO);
    CB_Dim_SDO->setCurrentIndex(0);
  }
  for (QComboBox* box : CB_Byte_SDO) box->setCurrentIndex(0);
  if (CB_SDO_Send_on_Write) CB_SDO_Send_on_Write->setCurrentIndex(0);
}

void SdoServerWindow::show_in_editor(const TSDO& object) {
  E_Index_SDO->setText(ui::qs(object.index));
  E_Sub_SDO->setText(ui::qs(object.sub_index));
  {
    const QSignalBlocker block(CB_Dim_SDO);
    choose(CB_Dim_SDO, object.dimension);
  }
  for (int b = 0; b < 4; ++b) choose(CB_Byte_SDO[b], object.bytes[static_cast<std::size_t>(b)]);
  if (CB_SDO_Send_on_Write) choose(CB_SDO_Send_on_Write, object.send_on_write);
}

TSDO SdoServerWindow::editor_values() const {
  TSDO object;
  object.index = ui::us(E_Index_SDO->text());
  object.sub_index = ui::us(E_Sub_SDO->text());
  object.dimension = std::max(CB_Dim_SDO->currentIndex(), 0);
  for (int b = 0; b < 4; ++b) object.bytes[static_cast<std::size_t>(b)] = std::max(CB_Byte_SDO[b]->currentIndex(), 0);
  if (CB_SDO_Send_on_Write) object.send_on_write = std::max(CB_SDO_Send_on_Write->currentIndex(), 0);
  return object;
}

void SdoServerWindow::LB_J1939_FramesClick() {
  const int frame = selected_frame();
  refresh_objects();
  empty_editor();
  const int length = frame >= 0 ? table_.frames()[static_cast<std::size_t>(frame)].num_byte : 0;
  for (QComboBox* box : CB_Byte_SDO) fill(box, sdo_byte_choices(length));
  CB_Dim_SDOChange();
}

void SdoServerWindow::LB_SDOsClick() {
  const int frame = selected_frame();
  const int object = selected_object();
  if (object < 0) return;
  show_in_editor(table_.frames()[static_cast<std::size_t>(frame)].objects[static_cast<std::size_t>(object)]);
  CB_Dim_SDOChange();
}

void SdoServerWindow::CB_Dim_SDOChange() {
  const std::array<bool, 4> enabled = sdo_bytes_enabled(CB_Dim_SDO->currentIndex());
  for (int b = 0; b < 4; ++b) {
    CB_Byte_SDO[b]->setEnabled(enabled[static_cast<std::size_t>(b)]);
    if (!enabled[static_cast<std::size_t>(b)]) CB_Byte_SDO[b]->setCurrentIndex(0);
  }
}

void SdoServerWindow::Btn_CreateClick() {
  const int frame = selected_frame();
  if (frame < 0) return;
  if (const std::optional<int> failure = table_.create(frame, editor_values())) {
    ui::error_box(this, ui::qs(state_.catalogue.get(*failure)));
    return;
  }
  refresh_objects();
}

void SdoServerWindow::Btn_ModifyClick() {
  const int frame = selected_frame();
  const int object = selected_object();
  if (object < 0) return;
  if (const std::optional<int> failure = table_.modify(frame, object, editor_values())) {
    ui::error_box(this, ui::qs(state_.catalogue.get(*failure)));
    return;
  }
  refresh_objects();
}

void SdoServerWindow::Btn_DeleteClick() {
  const int object = selected_object();
  if (object < 0) return;
  table_.remove(selected_frame(), object);
  refresh_objects();
}

void SdoServerWindow::Btn_CopyClick() {
  const int object = selected_object();
  if (object < 0) return;
  clipboard_.copy(table_.frames()[static_cast<std::size_t>(selected_frame())].objects[static_cast<std::size_t>(object)]);
}

void SdoServerWindow::Btn_PasteClick() {
  show_in_editor(clipboard_.paste());
  CB_Dim_SDOChange();
}

void SdoServerWindow::Btn_OKClick() {
  const ConfigFiles files = state_.active.files();
  const Status saved = table_.save(variant_ == SdoVariant::kRead ? files.sdo_read() : files.sdo_write());
  if (!saved) {
    ui::error_box(this, ui::qs(saved.error().message));
    return;
  }
  accept();
}

}  // namespace brenvale
