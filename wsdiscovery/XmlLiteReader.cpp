#include "XmlLiteReader.h"

#include <windows.h>

#include <shlwapi.h>
#include <xmllite.h>

#include <climits>
#include <deque>
#include <memory>
#include <string>
#include <utility>

namespace vanmoor::wsd {

namespace {

constexpr std::string_view kXmlns = "xmlns";

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface> using ComPointer = std::unique_ptr<Interface, ComRelease>;

using StringGetter = HRESULT (STDMETHODCALLTYPE IXmlReader::*)(LPCWSTR*, UINT*);

// One of the strings of the node the reader is at, as UTF-8; XmlLite's own buffer stays
// valid only until it reads on.
std::string Utf8(IXmlReader& reader, StringGetter getter) {
    LPCWSTR text = nullptr;
    UINT length = 0;
    std::string utf8;
    if (FAILED((reader.*getter)(&text, &length)) || length == 0 || length > INT_MAX) {
        return utf8;
    }
    const int wide = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, wide, nullptr, 0, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(size));
    WideCharToMultiByte(CP_UTF8, 0, text, wide, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

bool Is(HRESULT result, XmlError error) {
    return static_cast<unsigned long>(result) == static_cast<unsigned long>(error);
}

// XmlLite's failures in the terms of the other readers: what they refuse for the same cause.
// Its depth bound is set past what a well-formed document reaches (see Read), so that one
// means a malformed document too.
ReadError FailureOf(HRESULT result) {
    if (Is(result, WC_E_DTDPROHIBITED)) {
        return ReadError::Doctype;
    }
    if (Is(result, NC_E_UNDECLAREDPREFIX)) {
        return ReadError::UnboundPrefix;
    }
    return ReadError::Malformed;
}

// A document in UTF-16 or UTF-32 has a byte order mark or a zero byte in its first two bytes,
// as the other readers tell them apart too.
bool IsWide(std::string_view document) {
    const std::string_view start = document.substr(0, 2);
    return start == "\xFE\xFF" || start == "\xFF\xFE" || start.find('\0') != std::string_view::npos;
}

// The part of a document before its first zero byte, unless it is in UTF-16 or UTF-32. No XML
// character is zero, and the pugixml reader ends there too, so a datagram padded with zeros
// reads alike everywhere; Wine's XmlLite even aborts on a zero byte after the declaration.
std::string_view UpToZeroByte(std::string_view document) {
    return IsWide(document) ? document : document.substr(0, document.find('\0'));
}

// A document has a root element, so it has a start tag: a '<' followed by neither '?', '!'
// nor '/'. Any byte order of UTF-16 or UTF-32 only puts zero bytes between the two. Wine's
// XmlLite fails an assertion, ending the process, on a document that ends in or just after
// its XML declaration; such a document has no start tag and is refused before.
bool HasStartTag(std::string_view document) {
    for (std::size_t at = document.find('<'); at != std::string_view::npos;
         at = document.find('<', at + 1)) {
        const std::size_t next = document.find_first_not_of('\0', at + 1);
        if (next != std::string_view::npos && document[next] != '?' && document[next] != '!' &&
            document[next] != '/') {
            return true;
        }
    }
    return false;
}

// One document pulled node by node from XmlLite and handed over in document order. Like the
// pugixml reader, which parses the whole document first, it refuses a document too deep or
// with an unbound prefix only once the rest has proved well-formed: after such a fault
// nothing more is handed over, but the reading goes on to the end.
class DocumentWalk {
public:
    DocumentWalk(IXmlReader& reader, std::size_t maxNodes, int maxDepth, XmlHandler& handler)
        : m_reader(reader), m_maxNodes(maxNodes), m_maxDepth(maxDepth), m_handler(handler) {}

    ReadError Run() {
        XmlNodeType type = XmlNodeType_None;
        HRESULT result = S_OK;
        std::size_t nodes = 0;
        while ((result = m_reader.Read(&type)) == S_OK) {
            // Every node takes bytes of the document. Wine's XmlLite, given a document cut
            // off inside an element, hands out its last node again and again.
            if (++nodes > m_maxNodes) {
                return ReadError::Malformed;
            }
            switch (type) {
            case XmlNodeType_Element:
                // XmlLite takes several roots only in its fragment mode, which is not set;
                // checked here as well, whatever the reader's version.
                if (m_rootRead || !MovedOn()) {
                    return ReadError::Malformed;
                }
                EnterElement();
                break;
            case XmlNodeType_EndElement:
                if (m_depth == 0 || !MovedOn()) {
                    return ReadError::Malformed;
                }
                LeaveElement();
                break;
            case XmlNodeType_Text:
            case XmlNodeType_CDATA:
                if (m_fault == ReadError::None) {
                    m_handler.Text(Utf8(m_reader, &IXmlReader::GetValue));
                }
                break;
            case XmlNodeType_DocumentType:
                return ReadError::Doctype;
            default: // white space between elements, comments, instructions, the declaration
                break;
            }
        }
        if (FAILED(result)) {
            return FailureOf(result);
        }
        if (!m_rootRead || m_depth != 0) {
            return ReadError::Malformed;
        }
        return m_fault;
    }

private:
    // Whether the tag the reader is at lies past the one before, as every tag of a document
    // does. Wine's XmlLite, given a document cut off inside an element, closes the open
    // elements itself, each end at the place of its start tag.
    bool MovedOn() {
        UINT line = 0;
        UINT position = 0;
        if (FAILED(m_reader.GetLineNumber(&line)) || FAILED(m_reader.GetLinePosition(&position))) {
            return true;
        }
        const std::pair<UINT, UINT> place{line, position};
        const bool later = place > m_lastTag;
        m_lastTag = place;
        return later;
    }

    void EnterElement() {
        ++m_depth;
        // Asked before the attributes are visited, as it tells of the element node.
        const bool empty = m_reader.IsEmptyElement() != FALSE;
        if (m_fault == ReadError::None) {
            m_fault = HandOverElement();
        }
        // An empty element has no end node of its own.
        if (empty) {
            LeaveElement();
        }
    }

    ReadError HandOverElement() {
        if (m_depth > m_maxDepth) {
            return ReadError::TooDeep;
        }
        // Split here rather than asked of XmlLite: Wine's gives no prefix for an empty element
        // whose prefix is not declared.
        const std::string qualified = Utf8(m_reader, &IXmlReader::GetQualifiedName);
        m_scope.EnterElement();
        for (HRESULT at = m_reader.MoveToFirstAttribute(); at == S_OK;
             at = m_reader.MoveToNextAttribute()) {
            DeclareNamespace();
        }
        const auto [prefix, local] = SplitQualifiedName(qualified);
        const auto uri = m_scope.Resolve(prefix);
        if (!uri) {
            return ReadError::UnboundPrefix;
        }
        m_handler.StartElement({*uri, local}, m_scope);
        for (HRESULT at = m_reader.MoveToFirstAttribute(); at == S_OK;
             at = m_reader.MoveToNextAttribute()) {
            if (const ReadError error = HandOverAttribute(); error != ReadError::None) {
                return error;
            }
        }
        return ReadError::None;
    }

    // The attribute the reader is at, unless it declares a namespace. An attribute without a
    // prefix has no namespace, whatever the default namespace is.
    ReadError HandOverAttribute() {
        const std::string qualified = Utf8(m_reader, &IXmlReader::GetQualifiedName);
        if (IsNamespaceDeclaration(qualified)) {
            return ReadError::None;
        }
        const auto [prefix, local] = SplitQualifiedName(qualified);
        const auto uri =
            prefix.empty() ? std::optional(std::string_view{}) : m_scope.Resolve(prefix);
        if (!uri) {
            return ReadError::UnboundPrefix;
        }
        m_handler.Attribute({*uri, local}, Utf8(m_reader, &IXmlReader::GetValue));
        return ReadError::None;
    }

    void LeaveElement() {
        if (m_fault == ReadError::None) {
            m_handler.EndElement(m_scope);
            m_scope.LeaveElement();
        }
        if (--m_depth == 0) {
            m_rootRead = true;
        }
    }

    // The attribute the reader is at, if it declares a namespace, read by its name as the
    // pugixml reader does. The scope keeps views, so the strings live as long as the walk.
    void DeclareNamespace() {
        std::string name = Utf8(m_reader, &IXmlReader::GetQualifiedName);
        if (name == kXmlns) {
            m_scope.Declare({}, Keep(Utf8(m_reader, &IXmlReader::GetValue)));
        } else if (IsNamespaceDeclaration(name)) {
            const std::string_view prefix = Keep(std::move(name)).substr(kXmlns.size() + 1);
            m_scope.Declare(prefix, Keep(Utf8(m_reader, &IXmlReader::GetValue)));
        }
    }

    std::string_view Keep(std::string text) { return m_kept.emplace_back(std::move(text)); }

    IXmlReader& m_reader;
    const std::size_t m_maxNodes;
    const int m_maxDepth;
    XmlHandler& m_handler;
    NamespaceStack m_scope;
    std::deque<std::string> m_kept;
    std::pair<UINT, UINT> m_lastTag{0, 0};
    int m_depth = 0;
    bool m_rootRead = false;
    ReadError m_fault = ReadError::None;
};

} // namespace

ReadError XmlLiteReader::Read(std::string_view document, std::size_t maxBytes, int maxDepth,
                              XmlHandler& handler) const {
    if (document.size() > maxBytes || document.size() > UINT_MAX) {
        return ReadError::TooLarge;
    }
    const std::string_view text = UpToZeroByte(document);
    if (!HasStartTag(text)) {
        return ReadError::Malformed;
    }
    const ComPointer<IStream> stream(SHCreateMemStream(reinterpret_cast<const BYTE*>(text.data()),
                                                       static_cast<UINT>(text.size())));
    IXmlReader* created = nullptr;
    if (!stream || FAILED(CreateXmlReader(__uuidof(IXmlReader), reinterpret_cast<void**>(&created),
                                          nullptr))) {
        return ReadError::Malformed;
    }
    const ComPointer<IXmlReader> reader(created);
    // XmlLite's own depth bound (256 unless set) would refuse a deep document before the
    // whole of it is known to be well-formed, unlike the walk; one of the document's length
    // is never reached, as every level takes bytes.
    if (FAILED(reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit)) ||
        FAILED(reader->SetProperty(XmlReaderProperty_MaxElementDepth,
                                   static_cast<LONG_PTR>(text.size()))) ||
        FAILED(reader->SetInput(stream.get()))) {
        return ReadError::Malformed;
    }
    return DocumentWalk(*reader, text.size(), maxDepth, handler).Run();
}

} // namespace vanmoor::wsd
