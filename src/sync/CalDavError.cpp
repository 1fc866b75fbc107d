#include "sync/CalDavError.h"

namespace kal::caldav {

namespace {

std::string reasonText(DavError error, int httpStatus)
{
    switch (error) {
    case DavError::None:
        return {};
    case DavError::Cancelled:
        return "同期を中止しました。";
    case DavError::BadUrl:
        return "サーバーの URL が正しくありません（http:// か https:// "
               "で始め、ユーザー名やパスワードは含めないでください）。";
    case DavError::InsecureUrl:
        return "暗号化されない http:// は、このコンピューター上のサーバーにだけ使えます。https:// の URL "
               "を指定してください。";
    case DavError::HostNotFound:
        return "サーバーが見つかりません。URL のサーバー名とネットワークの接続を確かめてください。";
    case DavError::ServerDown:
        return "サーバーに接続できません。サーバーが止まっているか、ネットワークにつながっていません。";
    case DavError::Timeout:
        return "サーバーの応答がありません（時間切れ）。しばらくしてからやり直してください。";
    case DavError::Tls:
        return "サーバーの証明書を確認できないため、安全に接続できません。";
    case DavError::ConnectionCut:
        return "サーバーとの接続が途中で切れました。";
    case DavError::TooLarge:
        return "サーバーの応答が大きすぎるため、読み込みませんでした。";
    case DavError::BadReply:
        return "サーバーの応答を読み取れません。URL がカレンダーを指しているか確かめてください。";
    case DavError::NotCalendar:
        return "指定の URL はカレンダーではありません。カレンダーのコレクションの URL を指定してください。";
    case DavError::Redirect:
        return "サーバーが別の場所への転送を繰り返すか、別のサーバーへ転送しようとしたため、中止しました。";
    case DavError::Unauthorized:
        return "サーバーにログインできません。ユーザー名とパスワードを確かめてください。";
    case DavError::Forbidden:
        return "サーバーがこの操作を許可していません（403）。";
    case DavError::NotFound:
        return "サーバーに指定のカレンダーまたは項目がありません（" + std::to_string(httpStatus) + "）。";
    case DavError::PreconditionFailed:
        return "サーバー上の項目が同時に変更されました（412）。";
    case DavError::UidConflict:
        return "サーバーに同じ UID の別の項目があります（" + std::to_string(httpStatus) + "）。";
    case DavError::ServerError:
        return "サーバー内部でエラーが起きました（" + std::to_string(httpStatus) +
               "）。しばらくしてからやり直してください。";
    case DavError::HttpError:
        return "サーバーが要求を受け付けませんでした（" + std::to_string(httpStatus) + "）。";
    case DavError::Credentials:
        return "~/.netrc を本人以外も読めるため、パスワードを使いませんでした。chmod 600 ~/.netrc としてください。";
    }
    return {};
}

} // namespace

DavStatus davFailure(DavError error, int httpStatus)
{
    return {error, httpStatus, reasonText(error, httpStatus)};
}

DavStatus davStatusOfHttp(int httpStatus)
{
    if (httpStatus >= 200 && httpStatus < 300)
        return {DavError::None, httpStatus, {}};
    switch (httpStatus) {
    case 401:
        return davFailure(DavError::Unauthorized, httpStatus);
    case 403:
        return davFailure(DavError::Forbidden, httpStatus);
    case 404:
    case 410:
        return davFailure(DavError::NotFound, httpStatus);
    case 412:
        return davFailure(DavError::PreconditionFailed, httpStatus);
    default:
        return davFailure(httpStatus >= 500 && httpStatus < 600 ? DavError::ServerError : DavError::HttpError,
                          httpStatus);
    }
}

} // namespace kal::caldav
