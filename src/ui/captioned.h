// Every window that takes its texts from the catalogue re-applies them in Set_Lang, at creation
// and after each change of language.
#pragma once

namespace brenvale::ui {

class Captioned {
 public:
  virtual ~Captioned() = default;
  virtual void Set_Lang() = 0;
};

}  // namespace brenvale::ui
