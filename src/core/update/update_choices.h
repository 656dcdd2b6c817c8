#pragma once

namespace sw48230 {

// What an updater is asked to do: write the firmware and the configuration
// image, and read each back for checking. The four are independent: a
// read-back may be asked for without its write.
struct UpdateChoices {
  bool Firmware = true;
  bool Read_Firm = true;
  bool Conf = true;
  bool Read_Conf = true;
};

}  // namespace sw48230
