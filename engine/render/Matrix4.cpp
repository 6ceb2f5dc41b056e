#include "Matrix4.h"

namespace KeystrelEngine {

// The adjugate over the determinant, built from the six 2 x 2 minors of the top two rows (s) and the six of the
// bottom two rows (c): every 3 x 3 cofactor is a sum of three products of one row element and one minor.
void Matrix4::Inverse()
{
    const float a00 = m[0], a01 = m[1], a02 = m[2], a03 = m[3];
    const float a10 = m[4], a11 = m[5], a12 = m[6], a13 = m[7];
    const float a20 = m[8], a21 = m[9], a22 = m[10], a23 = m[11];
    const float a30 = m[12], a31 = m[13], a32 = m[14], a33 = m[15];

    const float s0 = a00 * a11 - a10 * a01, s1 = a00 * a12 - a10 * a02, s2 = a00 * a13 - a10 * a03;
    const float s3 = a01 * a12 - a11 * a02, s4 = a01 * a13 - a11 * a03, s5 = a02 * a13 - a12 * a03;
    const float c0 = a20 * a31 - a30 * a21, c1 = a20 * a32 - a30 * a22, c2 = a20 * a33 - a30 * a23;
    const float c3 = a21 * a32 - a31 * a22, c4 = a21 * a33 - a31 * a23, c5 = a22 * a33 - a32 * a23;

    const float inverse = 1.0f / (s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0);

    m[0] = (a11 * c5 - a12 * c4 + a13 * c3) * inverse;
    m[1] = (-a01 * c5 + a02 * c4 - a03 * c3) * inverse;
    m[2] = (a31 * s5 - a32 * s4 + a33 * s3) * inverse;
    m[3] = (-a21 * s5 + a22 * s4 - a23 * s3) * inverse;
    m[4] = (-a10 * c5 + a12 * c2 - a13 * c1) * inverse;
    m[5] = (a00 * c5 - a02 * c2 + a03 * c1) * inverse;
    m[6] = (-a30 * s5 + a32 * s2 - a33 * s1) * inverse;
    m[7] = (a20 * s5 - a22 * s2 + a23 * s1) * inverse;
    m[8] = (a10 * c4 - a11 * c2 + a13 * c0) * inverse;
    m[9] = (-a00 * c4 + a01 * c2 - a03 * c0) * inverse;
    m[10] = (a30 * s4 - a31 * s2 + a33 * s0) * inverse;
    m[11] = (-a20 * s4 + a21 * s2 - a23 * s0) * inverse;
    m[12] = (-a10 * c3 + a11 * c1 - a12 * c0) * inverse;
    m[13] = (a00 * c3 - a01 * c1 + a02 * c0) * inverse;
    m[14] = (-a30 * s3 + a31 * s1 - a32 * s0) * inverse;
    m[15] = (a20 * s3 - a21 * s1 + a22 * s0) * inverse;
}

} // namespace KeystrelEngine
