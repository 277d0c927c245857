#include <gtest/gtest.h>

#include <algorithm>

#include "ui/find_hotkey.h"
#include "ui/find_match.h"

namespace {

std::wstring Found(const FindIndex& index, const std::wstring& query) {
    std::wstring out;
    for (int i : index.Find(query))
        out += (out.empty() ? L"" : L"|") + index.At(static_cast<size_t>(i)).name;
    return out;
}

TEST(FindMatch, QueriesOverNamesInOrder) {
    FindIndex index;
    for (const wchar_t* name : {L"文档.docx", L"Word 报告.doc", L"年度报告.xlsx", L"银行流水.pdf", L"行程单.txt", L"音乐",
                                L"QQ音乐.lnk", L"长城.jpg", L"重庆火锅.png", L"readme.md", L"Reader.exe", L"bread.txt",
                                L"Thread 文档.txt", L"我的文档"})
        index.Add(FindEntry{name, 0, 0});
    const struct {
        const wchar_t* query;
        const wchar_t* order;
    } cases[] = {
        // Latin: a start above a middle, then the shorter name; letter case and full width aside.
        {L"READ", L"readme.md|Reader.exe|bread.txt|Thread 文档.txt"},
        {L"ＲＥＡＤ", L"readme.md|Reader.exe|bread.txt|Thread 文档.txt"},
        {L"do", L"文档.docx|Word 报告.doc"},
        // Characters, and a name above its pinyin at the same place.
        {L"音乐", L"音乐|QQ音乐.lnk"},
        {L"报告", L"年度报告.xlsx|Word 报告.doc"},
        {L"wo", L"Word 报告.doc|我的文档"},
        // Initials, full pinyin, both mixed, spaces between syllables, Latin letters among characters.
        {L"wd", L"我的文档|文档.docx|Thread 文档.txt"},
        {L"wendang", L"文档.docx|我的文档|Thread 文档.txt"},
        {L"wen d", L"文档.docx|我的文档|Thread 文档.txt"},
        {L"bg", L"年度报告.xlsx|Word 报告.doc"},
        {L"yy", L"音乐|QQ音乐.lnk"},
        {L"qqyinyue", L"QQ音乐.lnk"},
        // Every reading of a character counts: 行 xing/hang, 长 chang/zhang, 重 zhong/chong, 单 dan/shan/chan.
        {L"hang", L"行程单.txt|银行流水.pdf"},
        {L"xing", L"行程单.txt|银行流水.pdf"},
        {L"zhangcheng", L"长城.jpg"},
        {L"cc", L"长城.jpg|行程单.txt"},
        {L"chongqing", L"重庆火锅.png"},
        {L"ZQHG", L"重庆火锅.png"},
        {L"xcs", L"行程单.txt"},
        {L"  ", L""},
        {L"wdx", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Found(index, c.query), c.order) << c.query;
}

// Readings written down from a dictionary, apart from the table's source: each must be among the
// character's readings (several readings: every one of them).
const wchar_t* const kKnownReadings =
    L"的de,di 一yi 是shi 不bu 了le,liao 在zai 人ren 有you 我wo 他ta 这zhe 个ge 们men 中zhong 来lai 上shang 大da,dai 为wei 和he,huo,hu 国guo "
    L"地de,di 到dao 以yi 说shuo,shui 时shi 要yao 就jiu 出chu 会hui,kuai 可ke 也ye 你ni 对dui 生sheng 能neng 而er 子zi 那na 得de,dei 于yu 着zhe,zhao,zhuo "
    L"下xia 自zi 之zhi 年nian 过guo 发fa 后hou 作zuo 里li 用yong 道dao 行xing,hang 所suo 然ran 家jia 种zhong 事shi 成cheng 方fang 多duo 经jing 么me 去qu "
    L"法fa 学xue 如ru 都dou,du 同tong 现xian 当dang 没mei 动dong 面mian 起qi 看kan 定ding 天tian 分fen 还hai,huan 进jin 好hao 小xiao 部bu 其qi 些xie 主zhu "
    L"样yang 理li 心xin 她ta 本ben 前qian 开kai 但dan 因yin 只zhi 从cong 想xiang 实shi 日ri 军jun 者zhe 意yi 无wu 力li 它ta 与yu 长chang,zhang 把ba 机ji "
    L"十shi 民min 第di 公gong 此ci 已yi 工gong 使shi 情qing 明ming 性xing 知zhi 全quan 三san 又you 关guan 点dian 正zheng 业ye 外wai 将jiang 两liang 高gao "
    L"间jian 由you 问wen 很hen 最zui 重zhong,chong 并bing 物wu 手shou 应ying 战zhan 向xiang 头tou 文wen 体ti 政zheng 美mei 相xiang 见jian 被bei 利li 什shen "
    L"二er 等deng 产chan 或huo 新xin 己ji 制zhi 身shen 果guo 加jia 西xi 斯si 月yue 话hua 合he 回hui 特te 代dai 内nei 信xin 表biao 化hua 老lao 给gei,ji "
    L"世shi 位wei 次ci 度du 门men 任ren 常chang 先xian 海hai 通tong 教jiao 儿er 原yuan 东dong 声sheng 提ti 立li 及ji 比bi 员yuan 解jie,xie 水shui 名ming "
    L"真zhen 论lun 处chu 走zou 义yi 各ge 入ru 几ji 口kou 认ren 条tiao 平ping 系xi,ji 气qi 题ti 活huo 尔er 更geng 别bie 打da 女nv 变bian 四si 神shen 总zong "
    L"何he 电dian 数shu 安an 少shao 报bao 才cai 结jie 反fan 受shou 目mu 太tai 量liang 再zai 感gan 建jian 务wu 做zuo 接jie 必bi 场chang 件jian 计ji 管guan "
    L"期qi 市shi 直zhi 德de 资zi 命ming 山shan 金jin 指zhi 克ke 许xu 统tong 区qu,ou 保bao 至zhi 队dui 形xing 社she 便bian,pian 空kong 决jue 治zhi 展zhan "
    L"马ma 科ke 司si 五wu 基ji 眼yan 书shu 非fei 则ze 听ting 白bai 却que 界jie 达da 光guang 放fang 强qiang,jiang 即ji 像xiang 难nan 且qie 权quan 思si 王wang "
    L"象xiang 完wan 设she 式shi 色se 路lu 记ji 南nan 品pin 住zhu 告gao 类lei 求qiu 据ju 程cheng 北bei 边bian 死si 张zhang 该gai 交jiao 规gui 万wan 取qu "
    L"拉la 格ge 望wang 觉jue,jiao 术shu 领ling 共gong 确que 传chuan,zhuan 师shi 观guan 清qing 今jin 切qie 院yuan 让rang 识shi 候hou 带dai 导dao 争zheng "
    L"运yun 笑xiao 飞fei 风feng 步bu 改gai 收shou 根gen 干gan 造zao 言yan 联lian 持chi 组zu 每mei 济ji 车che 亲qin 极ji 林lin 服fu 快kuai 办ban 议yi "
    L"往wang 元yuan 英ying 士shi 证zheng 近jin 失shi 转zhuan 夫fu 令ling 准zhun 布bu 始shi 怎zen 呢ne 存cun 未wei 远yuan 叫jiao 台tai 单dan,shan,chan "
    L"影ying 具ju 罗luo 字zi 爱ai 击ji 流liu 备bei 兵bing 连lian 调diao,tiao 深shen 商shang 算suan 质zhi 团tuan 集ji 百bai 需xu 价jia 花hua 党dang 华hua "
    L"城cheng 石shi 级ji 整zheng 府fu 离li 况kuang 亚ya 请qing 技ji 际ji 约yue 示shi 复fu 病bing 息xi 究jiu 线xian 似si,shi 官guan 火huo 断duan 精jing "
    L"满man 支zhi 视shi 消xiao 越yue 器qi 容rong 照zhao 须xu 九jiu 增zeng 研yan 写xie 称cheng 企qi 八ba 功gong 吗ma 包bao 片pian 史shi 委wei 乎hu 查cha "
    L"轻qing 易yi 早zao 曾ceng,zeng 除chu 农nong 找zhao 装zhuang 广guang 显xian 吧ba 阿a 李li 标biao 谈tan 吃chi 图tu 念nian 六liu 引yin 历li 首shou "
    L"医yi 局ju 突tu 专zhuan 费fei 号hao 尽jin 另ling 周zhou 较jiao 注zhu 语yu 仅jin 考kao 落luo,la,lao 青qing 随sui 选xuan 列lie 武wu 红hong 响xiang "
    L"推tui 参can,shen,cen 希xi 古gu 众zhong 房fang 半ban 节jie 土tu 投tou 某mou 案an 黑hei 维wei 革ge 划hua 敌di 致zhi 陈chen 律lv 足zu 态tai 护hu "
    L"七qi 兴xing 派pai 孩hai 验yan 责ze 营ying 星xing 章zhang 音yin 跟gen 志zhi 底di 站zhan 严yan 巴ba 例li 防fang 族zu 供gong 效xiao 续xu 施shi "
    L"留liu 讲jiang 型xing 料liao 终zhong 答da 紧jin 黄huang 绝jue 奇qi,ji 察cha 母mu 京jing 段duan 依yi 批pi 群qun 项xiang 故gu 按an 河he 米mi 围wei "
    L"江jiang 害hai 斗dou 双shuang 境jing 客ke 采cai 举ju 杀sha 父fu 苏su 密mi 低di 朝chao,zhao 友you 细xi 千qian 值zhi 男nan 钱qian 破po 网wang 热re "
    L"乐le,yue 否fou,pi 刚gang 毛mao 率lv,shuai 独du 球qiu 怕pa 弹dan,tan 校xiao 苦ku 创chuang 假jia 错cuo 晚wan 试shi 脑nao 谁shui 阳yang 哪na 微wei "
    L"血xue,xie 药yao 夜ye 省sheng,xing 喜xi 食shi 劳lao 环huan 福fu 雷lei 云yun 木mu 游you 龙long 树shu 冷leng 略lve 范fan 汉han 村cun 策ce 简jian "
    L"卡ka,qia 罪zui 州zhou 静jing 衣yi 您nin 余yu 痛tong 差cha,chai,ci 角jiao,jue 修xiu 皮pi 降jiang,xiang 善shan 妈ma 读du 银yin 买mai 养yang 乱luan "
    L"帮bang 佛fo 岁sui 航hang 香xiang 田tian 铁tie 左zuo 右you 草cao 脚jiao 恶e,wu 块kuai 酒jiu 岛dao 户hu 哥ge 款kuan 版ban 宝bao 座zuo 景jing 弟di "
    L"换huan 危wei 忙mang 暗an 姐jie 丽li 亮liang 露lu,lou 永yong 味wei 野ye 沙sha 鱼yu 杂za 误wu 湾wan 编bian 测ce 屋wu 跑pao 梦meng 散san 温wen "
    L"剑jian 封feng 贵gui 枪qiang 楼lou 县xian 移yi 朋peng 画hua 班ban 耳er 恩en 短duan 秘mi,bi 谢xie 康kang 钟zhong 诗shi 藏cang,zang 票piao 旧jiu "
    L"湖hu 录lu 叶ye 春chun 乡xiang 雨yu 饭fan 婚hun 补bu 油you 旅lv 笔bi 词ci 厂chang 睡shui 烟yan 卖mai 堂tang 喝he 借jie 园yuan 宋song 牙ya 跳tiao "
    L"雪xue 午wu 肉rou 嘴zui 馆guan 牛niu 纸zhi 丝si 歌ge 店dian 鬼gui 软ruan 盘pan 爸ba 刀dao 床chuang 冰bing 玩wan 窗chuang 虎hu 绿lv 套tao 库ku "
    L"街jie 夏xia 页ye 秀xiu 舞wu 圆yuan 秋qiu 猫mao 蓝lan 桌zhuo 课ke 哭ku 茶cha 狗gou 鸟niao 菜cai 桥qiao 羊yang 鸡ji 杯bei 蛋dan 冬dong 箱xiang "
    L"薄bao,bo 剥bo,bao 削xue,xiao 塞sai,se 宿su,xiu 乘cheng,sheng 模mo,mu 盛sheng,cheng 拓tuo,ta 柏bai,bo 蔚wei,yu 扎zha,za 属shu,zhu 圈quan,juan "
    L"仇chou,qiu 朴pu,piao,po 厦sha,xia 粘nian,zhan 伺si,ci 泌mi,bi 伽jia,qie,ga 番fan,pan 缝feng 虐nve 掠lve 女nv 驴lv 吕lv 绿lv 鹅e 猪zhu 熊xiong ";

TEST(FindMatch, GeneratedTableHasKnownReadings) {
    const std::wstring all = kKnownReadings;
    int checked = 0;
    for (size_t at = 0; at < all.size();) {
        const size_t end = all.find(L' ', at);
        const wchar_t c = all[at];
        const std::wstring want = all.substr(at + 1, end - at - 1);
        const std::vector<std::string> have = PinyinOf(c);
        for (size_t from = 0; from <= want.size();) {
            const size_t comma = std::min(want.find(L',', from), want.size());
            const std::string reading(want.begin() + static_cast<long>(from), want.begin() + static_cast<long>(comma));
            EXPECT_TRUE(std::find(have.begin(), have.end(), reading) != have.end()) << reading << " for U+" << std::hex
                                                                                << static_cast<unsigned>(c);
            ++checked;
            from = comma + 1;
        }
        at = end + 1;
    }
    EXPECT_GT(checked, 800);
    EXPECT_TRUE(PinyinOf(L'a').empty());
    EXPECT_TRUE(PinyinOf(L'\u3400').empty()); // outside the block
    EXPECT_LT(PinyinTableBytes(), 64u * 1024);
}

TEST(FindHotKey, TextsOfTheKey) {
    const struct {
        const wchar_t* text;
        HotKeyText kind;
        const wchar_t* name;
    } cases[] = {
        {L"Win+Alt+F", HotKeyText::Key, L"Win+Alt+F"},   {L" shift + ctrl + space ", HotKeyText::Key, L"Ctrl+Shift+Space"},
        {L"Control+Alt+7", HotKeyText::Key, L"Ctrl+Alt+7"}, {L"F9", HotKeyText::Key, L"F9"},
        {L"f", HotKeyText::Invalid, L""},                {L"Alt+Alt+F", HotKeyText::Invalid, L""},
        {L"Ctrl+F25", HotKeyText::Invalid, L""},         {L"Ctrl+", HotKeyText::Invalid, L""},
        {L"Hyper+F", HotKeyText::Invalid, L""},          {L" off", HotKeyText::Off, L""},
        {L"", HotKeyText::Off, L""},
    };
    for (const auto& c : cases) {
        HotKey key;
        EXPECT_EQ(ParseHotKey(c.text, key), c.kind) << c.text;
        EXPECT_EQ(c.kind == HotKeyText::Key ? HotKeyName(key) : L"", c.name) << c.text;
    }
}

} // namespace
