// The project file of the design a first start shows, byte for byte, as the program writes it.
#pragma once

#include <string>

namespace kelvra::test
{

inline const std::string kFirstRunFile =
    "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nsub=2\r\npieces0=0\r\npieces1=0\r\npieces2=0\r\ncorr=0\r\npwhere=0\r\n"
    "ptype=0\r\nh2=40\r\nl3=40\r\nb2=40\r\nca=90\r\ncb=90\r\nlp=0\r\ndp=0\r\nbp=0\r\nhp=0\r\nthick0=18\r\n"
    "thick1=18\r\nthick2=18\r\nsubvol=0\r\nvother=0\r\n";

} // namespace kelvra::test
