#include "formats/base/PictureBytes.h"

#include <QBuffer>
#include <QImage>
#include <QVariant>

PictureBytes PictureBytes::of(const QVariant& resource)
{
    QByteArray data =
        resource.typeId() == QMetaType::QByteArray ? resource.toByteArray() : QByteArray();
    if (data.startsWith("\x89PNG\r\n\x1a\n"))
        return {data, Png};
    if (data.startsWith("\xff\xd8\xff"))
        return {data, Jpeg};
    const QImage image = resource.typeId() == QMetaType::QImage    ? resource.value<QImage>()
                         : resource.typeId() == QMetaType::QPixmap ? resource.value<QImage>()
                                                                   : QImage::fromData(data);
    data.clear();
    if (!image.isNull()) {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    return {data, Png};
}
