#pragma once

#include <QByteArray>

class QVariant;

/// A picture as files keep it: PNG and JPEG as they are, anything else made PNG.
struct PictureBytes
{
    enum Kind { Png, Jpeg };

    QByteArray data;
    Kind kind = Png;

    /// The bytes of an image resource of a document; no data when it holds no picture.
    static PictureBytes of(const QVariant& resource);
};
