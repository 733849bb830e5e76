#include "share/http.h"

#include <QFile>
#include <curl/curl.h>
#include <mutex>
#include <stdexcept>
#include <string>

namespace {
constexpr qsizetype kMaxAnswer = 1 << 20;

void globalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

size_t collect(char* data, size_t size, size_t n, void* user) {
    auto* body = static_cast<QByteArray*>(user);
    const size_t bytes = size * n;
    // The answer is never used: reading stops at the cap, which perform() takes for the
    // end of the answer, so an endless body cannot hold the request.
    const qsizetype room = kMaxAnswer - body->size();
    body->append(data, qMin(room, qsizetype(bytes)));
    return room >= qsizetype(bytes) ? bytes : 0;
}

int progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<std::atomic<bool>*>(user)->load() ? 1 : 0;
}

size_t readFile(char* buffer, size_t size, size_t n, void* user) {
    auto* f = static_cast<std::FILE*>(user);
    const size_t got = std::fread(buffer, 1, size * n, f);
    if (got == 0 && std::ferror(f))
        return CURL_READFUNC_ABORT;
    return got;
}

// Rewinds the part when a redirect sends the form again.
int seekFile(void* user, curl_off_t offset, int origin) {
    auto* f = static_cast<std::FILE*>(user);
    return fseeko(f, off_t(offset), origin) == 0 ? CURL_SEEKFUNC_OK : CURL_SEEKFUNC_FAIL;
}

void check(CURLcode code, const char* what) {
    if (code != CURLE_OK)
        throw std::runtime_error(std::string(what) + ": " + curl_easy_strerror(code));
}
} // namespace

UploadFile::UploadFile(const QString& path) {
    file_ = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!file_)
        throw std::runtime_error("Cannot open file \"" + path.toStdString() + "\".");
    if (fseeko(file_, 0, SEEK_END) != 0 || (size_ = ftello(file_)) < 0 ||
        fseeko(file_, 0, SEEK_SET) != 0) {
        std::fclose(file_);
        throw std::runtime_error("Cannot read file \"" + path.toStdString() + "\".");
    }
}

UploadFile::~UploadFile() {
    if (file_)
        std::fclose(file_);
}

HttpClient::HttpClient(long timeLimitMs) {
    globalInit();
    curl_ = curl_easy_init();
    if (!curl_)
        throw std::runtime_error("The HTTP client could not be started.");
    error_[0] = '\0';
    CURL* c = static_cast<CURL*>(curl_);
    headers_ = curl_slist_append(nullptr, "Accept-Language: ru");
    // No "Expect: 100-continue" pause before the body: small servers never answer it.
    headers_ = curl_slist_append(headers_, "Expect:");
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, error_);
    curl_easy_setopt(c, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers_);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    // The window waits for the answer: give up on a dead connection instead of hanging.
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 60L);
    // A server may also answer slowly for ever: the whole request has a time limit.
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, timeLimitMs);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &cancelled_);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body_);
}

HttpClient::~HttpClient() {
    curl_easy_cleanup(static_cast<CURL*>(curl_));
    curl_slist_free_all(headers_);
}

QByteArray HttpClient::perform() {
    body_.clear();
    error_[0] = '\0';
    const CURLcode code = curl_easy_perform(static_cast<CURL*>(curl_));
    const bool capped = code == CURLE_WRITE_ERROR && body_.size() == kMaxAnswer;
    if (code == CURLE_ABORTED_BY_CALLBACK)
        throw std::runtime_error("The request was stopped.");
    if (code != CURLE_OK && !capped)
        throw std::runtime_error(error_[0] ? error_ : curl_easy_strerror(code));
    return body_;
}

QByteArray HttpClient::get(const QByteArray& url) {
    CURL* c = static_cast<CURL*>(curl_);
    check(curl_easy_setopt(c, CURLOPT_URL, url.constData()), "Bad address");
    curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    return perform();
}

QByteArray HttpClient::postFile(const QByteArray& url, const QByteArray& field, UploadFile& file,
                                const QString& partFileName, const QByteArray& contentType) {
    CURL* c = static_cast<CURL*>(curl_);
    check(curl_easy_setopt(c, CURLOPT_URL, url.constData()), "Bad address");
    curl_mime* form = curl_mime_init(c);
    struct Release {
        CURL* c;
        curl_mime* form;
        ~Release() {
            curl_easy_setopt(c, CURLOPT_MIMEPOST, nullptr);
            curl_mime_free(form);
        }
    } release{c, form};
    curl_mimepart* part = curl_mime_addpart(form);
    const QByteArray name = partFileName.toUtf8();
    if (!part || curl_mime_name(part, field.constData()) != CURLE_OK ||
        curl_mime_filename(part, name.constData()) != CURLE_OK ||
        curl_mime_type(part, contentType.constData()) != CURLE_OK ||
        curl_mime_data_cb(part, curl_off_t(file.size()), readFile, seekFile, nullptr,
                          file.handle()) != CURLE_OK)
        throw std::runtime_error("The upload form could not be made.");
    std::rewind(file.handle());
    check(curl_easy_setopt(c, CURLOPT_MIMEPOST, form), "The upload form could not be made");
    return perform();
}
