#include "SaveOptionXml.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <pugixml.hpp>

namespace {

QString Text(const char16_t* text) {
  return text ? QString::fromUtf16(text) : QString();
}

class SaveOptionXml final : public I_SaveOptionXml {
 public:
  bool InitInstance() override { return true; }
  int32_t AddRef() override { return ++FRefCount; }
  void Release() override {
    if (--FRefCount == 0) delete this;
  }

  bool Save(const char16_t* path) override {
    return FDocument.save_file(QFile::encodeName(Text(path)).constData(), "  ");
  }

  bool Load(const char16_t* path) override {
    FDocument.reset();
    const QByteArray file = QFile::encodeName(Text(path));
    // Regular files only: pugixml sizes a folder (or a device) as an absurd length and
    // would try to allocate it.
    if (!file.isEmpty() && QFileInfo(Text(path)).isFile() && FDocument.load_file(file.constData()))
      return true;
    FDocument.reset();  // what a failed parse left behind is not a document
    return false;
  }

  void SetText(const char16_t* key, const char16_t* value) override {
    pugi::xml_node node = Find(key, true);
    if (!node) return;
    node.text().set(Text(value).toUtf8().constData());
  }

  const char16_t* GetText(const char16_t* key) override {
    FAnswer = QString::fromUtf8(Find(key, false).text().get()).toStdU16String();
    return FAnswer.c_str();
  }

  void SetInt(const char16_t* key, int32_t value) override {
    const std::u16string text = QString::number(value).toStdU16String();
    SetText(key, text.c_str());
  }

  bool HasKey(const char16_t* key) override { return !!Find(key, false); }

  bool RemoveKey(const char16_t* key) override {
    pugi::xml_node node = Find(key, false);
    return node && node.parent().remove_child(node);
  }

  void Clear() override { FDocument.reset(); }

  int32_t ChildCount(const char16_t* key) override {
    const pugi::xml_node node = Text(key).isEmpty() ? FDocument : Find(key, false);
    int32_t count = 0;
    for (const pugi::xml_node child : node.children())
      if (child.type() == pugi::node_element) ++count;
    return count;
  }

  int32_t GetInt(const char16_t* key) override {
    bool ok = false;
    const int32_t value = QString::fromUtf8(Find(key, false).text().get()).trimmed().toInt(&ok);
    return ok ? value : 0;
  }

 private:
  ~SaveOptionXml() = default;

  // The element of `key`, created with its parents when `create` is set; null when absent.
  pugi::xml_node Find(const char16_t* key, bool create) {
    const QStringList names = Text(key).split(u'\\', Qt::SkipEmptyParts);
    if (names.isEmpty()) return {};
    pugi::xml_node node = FDocument;
    for (const QString& name : names) {
      const QByteArray utf8 = name.toUtf8();
      pugi::xml_node child = node.child(utf8.constData());
      if (!child && create) child = node.append_child(utf8.constData());
      if (!child) return {};
      node = child;
    }
    return node;
  }

  int32_t FRefCount = 1;
  pugi::xml_document FDocument;
  std::u16string FAnswer;
};

I_Plug* Factory() {
  return new SaveOptionXml;
}

Plug::AutoReg registrar(SAVE_OPTION_XML, Factory);

}  // namespace
