// The designs the benchmarks share.
#pragma once

#include "calc/Model.h"

namespace kelvra::bench
{

// A sloped box with two woofers, a rectangular port (its board thick2) and damping wool; the number of
// partitions is the caller's.
inline ModelInputs slopedWithRectangularPort(int partitions)
{
    ModelInputs in = firstRunInputs();
    in.h2 = "39";
    in.l3 = "45";
    in.b2 = "60,2";
    in.ca = "70";
    in.cb = "85";
    in.lp = "21,3";
    in.bp = "2";
    in.hp = "35,4";
    in.pieces0 = 1;
    in.pieces1 = partitions;
    in.pieces2 = 1;
    in.ptype = 1;
    in.pwhere = 1;
    in.corr = 2;
    return in;
}

} // namespace kelvra::bench
